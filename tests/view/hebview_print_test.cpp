#include <gtest/gtest.h>

#include <QAbstractTextDocumentLayout>
#include <QFileInfo>
#include <QGlyphRun>
#include <QPrinter>
#include <QTextBlock>
#include <QTextLayout>
#include <algorithm>
#include <vector>

#include "common/hebrew.h"
#include "view/viewfixture.h"

namespace {

using PrintTest = ViewFixture;

// A line as drawn: its glyphs from left to right, each with its distance
// from the line's left edge, and how far the text starts from that edge.
struct DrawnLine {
    std::vector<quint32> glyphs;
    std::vector<double> offsets;
    double indent = 0;
};

DrawnLine Drawn(const QTextBlock& block) {
    DrawnLine drawn;
    const QTextLine line = block.layout()->lineAt(0);
    std::vector<std::pair<double, quint32>> placed;
    for (const QGlyphRun& run : line.glyphRuns()) {
        const QList<quint32> indexes = run.glyphIndexes();
        const QList<QPointF> positions = run.positions();
        for (qsizetype i = 0; i < indexes.size(); ++i) {
            placed.emplace_back(positions[i].x(), indexes[i]);
        }
    }
    std::sort(placed.begin(), placed.end());
    for (const auto& [x, glyph] : placed) {
        drawn.glyphs.push_back(glyph);
        drawn.offsets.push_back(x - placed.front().first);
    }
    drawn.indent = line.naturalTextRect().left() - line.x();
    return drawn;
}

// Printing draws each line as the editor does: the same glyphs (no bracket
// turned about) in the same order, starting at the left edge, for a visual
// line of only Hebrew, one with a tag, and a Latin line.
TEST_F(PrintTest, PrintedLinesMatchTheEditorsLayout) {
    const std::string lines[] = {Heb("םולש םלוע"), Heb("םולש") + "<br>",
                                 "<p>" + Heb("םולש") + "</p>", "<html>"};
    std::string text;
    for (const std::string& line : lines) {
        text += line + "\r\n";
    }
    view.SetWindowText(text);
    Show();

    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    const std::unique_ptr<QTextDocument> printed = view.DocumentToPrint(&printer);
    ASSERT_NE(printed, nullptr);
    printed->setTextWidth(2000);
    printed->documentLayout()->documentSize();  // lays the text out
    QTextBlock shown = view.document()->begin();
    QTextBlock paper = printed->begin();
    for (const std::string& line : lines) {
        const DrawnLine onScreen = Drawn(shown);
        const DrawnLine onPaper = Drawn(paper);
        EXPECT_EQ(onPaper.glyphs, onScreen.glyphs) << line;
        ASSERT_EQ(onPaper.offsets.size(), onScreen.offsets.size()) << line;
        for (std::size_t i = 0; i < onPaper.offsets.size(); ++i) {
            EXPECT_NEAR(onPaper.offsets[i], onScreen.offsets[i], 0.5) << line << " " << i;
        }
        EXPECT_LT(onScreen.indent, 1) << line;
        EXPECT_LT(onPaper.indent, 1) << line;
        shown = shown.next();
        paper = paper.next();
    }

    // And a real page comes out of the printer.
    const QString pdf = QString::fromStdString(folder.File("page.pdf"));
    printer.setOutputFileName(pdf);
    view.PrintTo(&printer);
    EXPECT_GT(QFileInfo(pdf).size(), 1000);
}

}  // namespace
