#include "browse/previewprofile.h"

#include <QCoreApplication>
#include <QWebEngineProfile>
#include <QWebEngineSettings>
#include <QWebEngineUrlRequestInterceptor>

namespace {

// Refuses every request a script makes for a local file. The engine's own
// switch for this (LocalContentCanAccessFileUrls) cannot serve: with it off,
// this engine also refuses a local page its images, style sheets, scripts
// and frames. Script requests are told apart by their resource type, which
// the engine gives both XMLHttpRequest and fetch.
class LocalReadBlocker : public QWebEngineUrlRequestInterceptor {
public:
    using QWebEngineUrlRequestInterceptor::QWebEngineUrlRequestInterceptor;

    void interceptRequest(QWebEngineUrlRequestInfo& info) override {
        if (info.resourceType() == QWebEngineUrlRequestInfo::ResourceTypeXhr &&
            info.requestUrl().isLocalFile()) {
            info.block(true);
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
