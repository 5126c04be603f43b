#include "browse/previewprofile.h"

#include <QCoreApplication>
#include <QStringList>
#include <QUrl>
#include <QWebEngineProfile>
#include <QWebEngineSettings>
#include <QWebEngineUrlRequestInterceptor>

namespace {

// Whether a local file opens as a page or a picture when a frame or an
// object shows it: what old sites put in frames.
bool ShowsAsPage(const QUrl& url) {
    static const QStringList kExtensions = {
        QStringLiteral("htm"),   QStringLiteral("html"), QStringLiteral("shtml"),
        QStringLiteral("xhtml"), QStringLiteral("xht"),  QStringLiteral("gif"),
        QStringLiteral("jpg"),   QStringLiteral("jpeg"), QStringLiteral("png"),
        QStringLiteral("bmp"),   QStringLiteral("svg"),  QStringLiteral("webp"),
        QStringLiteral("ico")};
    const QString name = url.fileName();
    const qsizetype dot = name.lastIndexOf(QLatin1Char('.'));
    return dot > 0 && kExtensions.contains(name.mid(dot + 1), Qt::CaseInsensitive);
}

// Keeps local files from a page's script. The engine's own switch for this
// (LocalContentCanAccessFileUrls) cannot serve: with it off, this engine also
// refuses a local page its images, style sheets, scripts and frames. With it
// on, local pages share one origin, so two ways to read a file are closed
// here:
// - every request a script makes for a local file (the engine gives
//   XMLHttpRequest and fetch the same resource type);
// - a frame or object showing a local file that is not a page or a picture
//   (a script could read its text, a folder's listing, a key or a password
//   file through the frame's document).
class LocalReadBlocker : public QWebEngineUrlRequestInterceptor {
public:
    using QWebEngineUrlRequestInterceptor::QWebEngineUrlRequestInterceptor;

    void interceptRequest(QWebEngineUrlRequestInfo& info) override {
        if (!info.requestUrl().isLocalFile()) {
            return;
        }
        switch (info.resourceType()) {
            case QWebEngineUrlRequestInfo::ResourceTypeXhr:
                info.block(true);
                break;
            case QWebEngineUrlRequestInfo::ResourceTypeSubFrame:
            case QWebEngineUrlRequestInfo::ResourceTypeObject:
                info.block(!ShowsAsPage(info.requestUrl()));
                break;
            default:
                break;
        }
    }
};

}  // namespace

QWebEngineProfile* CPreviewProfile::Get() {
    static QWebEngineProfile* profile = [] {
        // Off the record: no cache, cookies or history of previewed pages on disk.
        auto* made = new QWebEngineProfile(QCoreApplication::instance());
        QWebEngineSettings* settings = made->settings();
        settings->setAttribute(QWebEngineSettings::LocalContentCanAccessFileUrls, true);
        settings->setAttribute(QWebEngineSettings::LocalContentCanAccessRemoteUrls, false);
        made->setUrlRequestInterceptor(new LocalReadBlocker(made));
        return made;
    }();
    return profile;
}
