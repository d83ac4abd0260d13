// Stored attachment names are untrusted: whatever they hold, the name the
// CLI writes stays a plain file name inside the chosen folder.
#include <gtest/gtest.h>

#include "attachment_file_name.h"

namespace {

TEST(AttachmentFileNames, HostileNamesBecomePlainFileNames) {
    const std::pair<std::string, std::string> cases[] = {
        {"report.pdf", "report.pdf"}, {"../../etc/passwd", "passwd"},
        {"/etc/shadow", "shadow"},    {"C:\\Windows\\system.ini", "system.ini"},
        {"..", "attachment"},         {"", "attachment"},
        {"...hidden", "hidden"},      {"CON", "_CON"},
        {"nul.txt", "_nul.txt"},      {"LPT1.doc", "_LPT1.doc"},
        {"a\nb\x01.txt", "a_b_.txt"}, {"what?.txt", "what_.txt"},
        {"trailing. . ", "trailing"}, {"dir/", "attachment"},
    };
    for (const auto& [stored, expected] : cases) {
        cli::AttachmentFileNames names;
        EXPECT_EQ(names.next(stored), expected) << stored;
    }
}

TEST(AttachmentFileNames, ClashesGetNumbersBeforeTheExtension) {
    cli::AttachmentFileNames names;
    EXPECT_EQ(names.next("a.txt"), "a.txt");
    EXPECT_EQ(names.next("dir/A.TXT"), "A (2).TXT");
    EXPECT_EQ(names.next("a.txt"), "a (3).txt");
    EXPECT_EQ(names.next("a (2).txt"), "a (2) (2).txt");
    EXPECT_EQ(names.next("noext"), "noext");
    EXPECT_EQ(names.next("noext"), "noext (2)");
    EXPECT_EQ(names.next(std::string(300, 'x')).size(), 200u);
}

}  // namespace
