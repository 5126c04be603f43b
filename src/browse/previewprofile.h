#pragma once

class QWebEngineProfile;

// The one web engine profile of the preview, help and home page windows. It
// keeps nothing on disk and treats local pages as a stock browser does: a
// page's own images, style sheets, scripts and frames load from anywhere on
// the disk (old sites reach them through "../"), but script in a page cannot
// read local files (XMLHttpRequest and fetch to "file:" fail, and a frame
// shows only local pages and pictures), and a local page loads nothing from
// the web.
class CPreviewProfile {
public:
    // Made on first use, owned by the application object.
    static QWebEngineProfile* Get();
};
