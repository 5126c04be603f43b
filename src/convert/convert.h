#pragma once

#include <string>

#include "convert/charset.h"

// What the visual conversion that made a page used, so that it can be undone.
struct ModernPageRules {
    std::string breakString = "<br>";  // the mark after each broken piece
    std::string beforeParagraph;       // the paragraph strings, removed when
    std::string afterParagraph;        // stripParagraphs is set
    bool stripParagraphs = false;
    int width = 70;  // the line length it broke at (0 or below: join every piece)
};

// The conversion engine: stateless transforms between logical text, visual HTML,
// semi-logical HTML and DOS text. All text is code page 1255 bytes. Every
// operation runs in time and memory linear in the length of its text.
class CConvert {
public:
    // Reverses every line into visual (display) order, keeping Latin runs,
    // numbers and tags in their own order. tabMode 1 turns each tab into one
    // space; keepOuterSpace false trims white space from both ends of the result.
    // The output's lines always end in CR LF.
    static void LogicalToVisual(std::string& text, int tabMode, bool keepOuterSpace);

    // Recodes DOS (code page 862) Hebrew letters to code page 1255 without
    // reversing; 0xFF becomes a space and pairs of spaces vanish.
    static void DosToWindows(std::string& text);

    // Breaks visual lines into pieces of at most `width` characters, logical
    // beginning first, marking Hebrew pieces with addToBrokenLine and wrapping
    // blocks of Hebrew pieces in beforeHeb / afterHeb.
    static void WrapVisualLines(std::string& text, int width, int breakLines,
                                const std::string& addToBrokenLine, int addToHebParagraph,
                                const std::string& beforeHeb, const std::string& afterHeb,
                                int twoCrlfPara);

    // Strips a visual HTML page down to its (still visual) lines: scripts and
    // tags go, "<br>" and the closing title tag end lines, and the source lines
    // of a Hebrew passage are joined.
    static void VisualHtmlToLines(std::string& text, const CharSet& hebrewSet = kHebrewLetterSet);

    // Rewraps visual lines to 65 columns, right-aligns Hebrew lines to 70
    // columns and recodes the Hebrew letters to code page 862.
    static void MakeDosText(std::string& text, const CharSet& hebrewSet = kHebrewLetterSet);

    // Reverses, in place, each stretch from a Hebrew letter to the next tag:
    // visual HTML becomes semi-logical HTML and back.
    static void ToggleSemiLogical(std::string& text, const CharSet& hebrewSet = kHebrewLetterSet);

    // Turns a visual HTML page into logical HTML for today's browsers: each
    // line back in reading order with its tags in their logical place, the
    // pieces of a broken line joined (their marks removed), script and style
    // blocks as written, a meta tag declaring an old Hebrew charset replaced
    // by a UTF-8 declaration (the caller encodes the result as UTF-8) and the
    // page's direction and language declared. Bytes stay code page 1255.
    static void VisualHtmlToModern(std::string& text, const ModernPageRules& rules);

    // Lower-cases the ASCII letters inside every complete tag ("<" to ">").
    static std::string LowerTagCase(std::string text);
};
