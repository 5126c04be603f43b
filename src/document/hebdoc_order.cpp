// Whether the document is stored in visual or logical order, for its status
// pane.
#include "document/hebdoc.h"
#include "framework/cmdui.h"

void CHebDoc::DetectTextOrder(std::string_view text) {
    m_orderEvidence = orderdetect::DetectOrder(text);
}

void CHebDoc::OnUpdateOrderIndicator(CCmdUI& ui) {
    ui.Enable(true);
    switch (m_orderEvidence.order) {
        case orderdetect::TextOrder::Visual:
            ui.SetText(tr("ויזואלי"));
            break;
        case orderdetect::TextOrder::Logical:
            ui.SetText(tr("לוגי"));
            break;
        case orderdetect::TextOrder::Unknown:
            ui.SetText(QString());
            break;
    }
}
