// The shipped sample pages: the visual page is exactly what the converter
// makes of the logical text with the shipped settings, and every local link
// in a shipped page leads to a shipped file (and, with a fragment, to an
// element of that page).
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <set>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

#include "cli/clirunner.h"
#include "common/scratchfolder.h"

namespace {

const std::string kDataFolder = MIRVAL_SOURCE_DATA_DIR;

std::set<std::string> ShippedFiles() {
    std::istringstream names(MIRVAL_SHIPPED_FILES);
    std::set<std::string> files;
    for (std::string name; names >> name;) {
        files.insert(name);
    }
    return files;
}

std::string Lower(std::string_view text) {
    std::string lower(text);
    std::transform(lower.begin(), lower.end(), lower.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return lower;
}

// The values of every href= and src= attribute of a page: quoted with either
// quote mark, or bare up to a blank or ">".
std::vector<std::string> LinkValues(const std::string& page) {
    const std::string lower = Lower(page);
    std::vector<std::string> values;
    for (const std::string_view name : {"href=", "src="}) {
        for (size_t at = lower.find(name); at != std::string::npos; at = lower.find(name, at + 1)) {
            size_t start = at + name.size();
            std::string_view ends = " \t\r\n>";
            if (start < page.size() && (page[start] == '"' || page[start] == '\'')) {
                ends = std::string_view(&page[start], 1);
                ++start;
            }
            const size_t end = page.find_first_of(ends, start);
            values.push_back(page.substr(start, end - start));
        }
    }
    return values;
}

bool IsLocal(const std::string& link) {
    const size_t scheme = link.find(':');
    return !link.starts_with("//") &&
           (scheme == std::string::npos || link.find_first_of("/?#") < scheme);
}

TEST_F(CliTest, TheSampleVisualPageIsWhatTheConverterMakesOfTheSampleText) {
    const std::string text = ScratchFolder::Read(kDataFolder + "/sample.txt");
    const std::string page = ScratchFolder::Read(kDataFolder + "/sample.htm");
    ASSERT_NE(text.find("\xE0"), std::string::npos);  // code page 1255 Hebrew (alef)
    const Outcome made = Run({"to-visual", kDataFolder + "/sample.txt"});
    ASSERT_EQ(made.status, 0) << made.err;
    EXPECT_EQ(made.out, page);
    EXPECT_NE(page.find("<meta charset='visual'>"), std::string::npos);
}

TEST(SamplePagesTest, EveryLocalLinkLeadsToAShippedFile) {
    const std::set<std::string> shipped = ShippedFiles();
    ASSERT_TRUE(shipped.contains("sample.txt") && shipped.contains("sample.htm"));
    size_t fileLinks = 0;
    for (const std::string& name : shipped) {
        if (!name.ends_with(".htm") && !name.ends_with(".txt") && !name.ends_with(".mvt")) {
            continue;
        }
        const std::string page = ScratchFolder::Read(kDataFolder + "/" + name);
        for (const std::string& link : LinkValues(page)) {
            if (link.empty() || !IsLocal(link)) {
                continue;
            }
            const size_t hash = link.find('#');
            const std::string file = link.substr(0, std::min(link.find('?'), hash));
            const std::string target = file.empty() ? name : file;
            ASSERT_TRUE(shipped.contains(target)) << name << " links to " << link;
            fileLinks += file.empty() ? 0 : 1;
            if (hash != std::string::npos) {
                const std::string id = link.substr(hash + 1);
                const std::string targetPage = ScratchFolder::Read(kDataFolder + "/" + target);
                EXPECT_TRUE(targetPage.find("id=\"" + id + "\"") != std::string::npos ||
                            targetPage.find("id='" + id + "'") != std::string::npos)
                    << name << " links to " << link << ", which names no element";
            }
        }
    }
    // The sample text, its visual page and the page they link to link on.
    EXPECT_GE(fileLinks, 3u);
}

}  // namespace
