#include "model/listing.hpp"

#include "attr_dir.hpp"
#include "temp_dir.hpp"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <string>
#include <tuple>

namespace files::model {
namespace {

using files::testing::TempDir;

FolderEntry entry(std::string name, bool dir = false, std::uint64_t size = 0, std::optional<FileTime> t = {},
                  std::string type = "") {
    FolderEntry e;
    e.name = name;
    e.path = "/f/" + name;
    e.is_dir = dir;
    e.size = size;
    e.modified = t;
    e.type = std::move(type);
    return e;
}

std::vector<std::string> names(const std::vector<FolderEntry>& v) {
    std::vector<std::string> out;
    for (const auto& e : v) out.push_back(e.name);
    return out;
}

TEST(model_listing, SortOrders) {
    auto t = [](std::int64_t s, std::uint32_t ns = 0) { return std::optional<FileTime>(FileTime{s, ns}); };
    std::vector<FolderEntry> letters = {entry("b"), entry("A"), entry("c"), entry("Z", true)};
    // Case-only twins, and names the ICU full mapping lower-cases to more than one code point.
    std::vector<FolderEntry> twins = {entry("readme"), entry("Zeta"), entry("README"), entry("İx"), entry("ia")};
    std::vector<FolderEntry> timed = {entry("new", false, 0, t(20)), entry("none"), entry("old", false, 0, t(10, 5)),
                                      entry("old2", false, 0, t(10, 4)), entry("dir", true, 0, t(1))};
    std::vector<FolderEntry> sized = {entry("big", false, UINT64_MAX), entry("mid", false, 10),
                                      entry("small", false, 9), entry("d", true, 5)};
    std::vector<FolderEntry> typed = {entry("x", false, 0, {}, "text/plain"), entry("y", false, 0, {}, "Text/plain"),
                                      entry("z", false, 0, {}, "application/pdf")};
    struct Case {
        const char* what;
        std::vector<FolderEntry>* input;
        SortKey key;
        bool descending;
        std::vector<std::string> expected;
    };
    Case cases[] = {
        {"name asc", &letters, SortKey::Name, false, {"Z", "A", "b", "c"}},
        {"name desc: folders stay first", &letters, SortKey::Name, true, {"Z", "c", "b", "A"}},
        {"twins keep read order", &twins, SortKey::Name, false, {"ia", "İx", "readme", "README", "Zeta"}},
        {"twins keep read order desc", &twins, SortKey::Name, true, {"Zeta", "readme", "README", "İx", "ia"}},
        {"modified asc: absent first", &timed, SortKey::Modified, false, {"dir", "none", "old2", "old", "new"}},
        {"modified desc: absent last", &timed, SortKey::Modified, true, {"dir", "new", "old", "old2", "none"}},
        {"size unsigned", &sized, SortKey::Size, false, {"d", "small", "mid", "big"}},
        {"size desc", &sized, SortKey::Size, true, {"d", "big", "mid", "small"}},
        {"type byte order", &typed, SortKey::Type, false, {"y", "z", "x"}},
    };
    for (auto& c : cases) {
        auto v = *c.input;
        sort_entries(v, c.key, c.descending);
        EXPECT_EQ(names(v), c.expected) << c.what;
    }
}

TEST(model_listing, NameSortHasNoNumericOrdering) {
    std::vector<FolderEntry> v = {entry("file2"), entry("file10")};
    sort_entries(v, SortKey::Name, false);
    EXPECT_EQ(names(v), (std::vector<std::string>{"file10", "file2"}));
    EXPECT_EQ(full_lowercase("ÀÉÎ İ ẞ"), "àéî i̇ ß");
}

// The listing's order written out plainly: folders first, then the key (names by their full
// lower case), ties in read order.
std::vector<std::string> reference_order(std::vector<FolderEntry> v, SortKey key, bool descending) {
    auto cmp = [&](const FolderEntry& a, const FolderEntry& b) -> int {
        switch (key) {
            case SortKey::Name: return full_lowercase(a.name).compare(full_lowercase(b.name));
            case SortKey::Size: return a.size < b.size ? -1 : a.size > b.size;
            case SortKey::Modified:
                if (!a.modified || !b.modified) return int(a.modified.has_value()) - int(b.modified.has_value());
                return *a.modified < *b.modified ? -1 : *b.modified < *a.modified;
            case SortKey::Type: return std::string(a.type).compare(std::string(b.type));
        }
        return 0;
    };
    std::stable_sort(v.begin(), v.end(), [&](const FolderEntry& a, const FolderEntry& b) {
        if (a.is_dir != b.is_dir) return a.is_dir;
        int c = cmp(a, b);
        return descending ? c > 0 : c < 0;
    });
    return names(v);
}

void set_mtime(const std::filesystem::path& p, std::int64_t seconds, long nanoseconds) {
    struct timespec times[2] = {{seconds, nanoseconds}, {seconds, nanoseconds}};
    ::utimensat(AT_FDCWD, p.c_str(), times, AT_SYMLINK_NOFOLLOW);
}

TEST(model_listing, NameOrderBeyondTheFirstBytes) {
    // Long shared prefixes, case twins, and non-ASCII names next to ASCII ones.
    std::vector<FolderEntry> v = {entry("report-2024-final-B"), entry("Report-2024-final-a"),
                                  entry("report-2024-final-b"), entry("report-2024-fin"),
                                  entry("REPORT-2024-FINAL-A"), entry("Écrit-long-nom"), entry("écrit-long-nol"),
                                  entry("ecrit"), entry("e"), entry(""), entry("İstanbul-2024"),
                                  entry("i̇stanbul-2023"), entry("x\xEF\xBF\xBDy"), entry("X~y"), entry("dirs-last-not", true),
                                  entry("Dirs-first", true)};
    for (bool descending : {false, true}) {
        auto sorted = v;
        sort_entries(sorted, SortKey::Name, descending);
        EXPECT_EQ(names(sorted), reference_order(v, SortKey::Name, descending)) << descending;
    }
}

TEST(model_listing, ReadingWithOptionsEqualsFilteringAndSortingAfter) {
    TempDir d;
    d.create_files({"b.txt", "A.PDF", "c", ".hidden", ".Hdir/", "Z/", "readme", "README", "İx.md", "ia.md",
                    "report-2024-final-b.JPG", "Report-2024-final-a.jpg", "sub/", "Sub2/", "bad\xff.txt", "Bad\xfe"});
    d.write("sized-3.bin", "abc");
    d.write("sized-1.bin", "a");
    set_mtime(d / "b.txt", 1000, 5);
    set_mtime(d / "c", 1000, 4);
    set_mtime(d / "README", 10, 0);
    auto plain = read_folder(d.path(), false);
    ASSERT_TRUE(plain);
    for (HiddenEntries hidden : {HiddenEntries::Keep, HiddenEntries::Skip})
        for (SortKey key : {SortKey::Name, SortKey::Size, SortKey::Modified, SortKey::Type})
            for (bool descending : {false, true}) {
                auto want = *plain;
                if (hidden == HiddenEntries::Skip) remove_hidden(want);
                // Read order is the system's; the reference sorts the same read.
                auto expected = reference_order(want, key, descending);
                sort_entries(want, key, descending);
                EXPECT_EQ(names(want), expected) << int(key) << descending;
                auto got = read_folder(d.path(), false, nullptr, hidden, EntryOrder{key, descending});
                ASSERT_TRUE(got);
                EXPECT_TRUE(*got == want) << int(key) << " " << descending << " " << int(hidden);
            }
    auto unordered = read_folder(d.path(), false, nullptr, HiddenEntries::Skip);
    ASSERT_TRUE(unordered);
    auto filtered = *plain;
    remove_hidden(filtered);
    EXPECT_TRUE(*unordered == filtered) << "without an order, read order is kept";
}

TEST(model_listing, LargeFolderIsReadCompletely) {
    // Enough entries for the read to be shared between threads where there are several cores.
    TempDir d;
    constexpr int kCount = 9000;
    for (int i = 0; i < kCount; ++i) {
        std::string name = (i % 7 == 0 ? "." : "") + std::string(i % 3 ? "File-" : "file-") + std::to_string(i) +
                           (i % 2 ? ".txt" : "");
        if (i % 100 == 0) {
            ::mkdir((d / name).c_str(), 0700);
        } else {
            int fd = ::open((d / name).c_str(), O_WRONLY | O_CREAT | O_CLOEXEC, 0600);
            ASSERT_GE(fd, 0);
            std::string bytes(size_t(i % 5), 'x');
            ASSERT_EQ(::write(fd, bytes.data(), bytes.size()), ssize_t(bytes.size()));
            ::close(fd);
        }
    }
    auto all = read_folder(d.path(), false);
    ASSERT_TRUE(all);
    ASSERT_EQ(all->size(), size_t(kCount));
    for (const auto& e : *all) {
        auto dash = e.name.find('-');
        int i = std::stoi(e.name.substr(dash + 1));
        ASSERT_EQ(e.is_dir, i % 100 == 0) << e.name;
        if (!e.is_dir) {
            ASSERT_EQ(e.size, std::uint64_t(i % 5)) << e.name;
        }
        ASSERT_EQ(e.path, d / e.name);
        ASSERT_EQ(e.type, i % 2 ? "text/plain" : "application/octet-stream") << e.name;
        ASSERT_TRUE(e.modified) << e.name;
    }
    auto want = *all;
    remove_hidden(want);
    auto expected = reference_order(want, SortKey::Name, false);
    sort_entries(want, SortKey::Name, false);
    EXPECT_EQ(names(want), expected);
    auto got = read_folder(d.path(), false, nullptr, HiddenEntries::Skip, EntryOrder{SortKey::Name, false});
    ASSERT_TRUE(got);
    EXPECT_TRUE(*got == want);
}

TEST(model_listing, ReadFolderDescribesEntriesThemselves) {
    TempDir d;
    d.create_files({"sub/", "notes.TXT", "plain"});
    d.write("data.json", "12345");
    std::filesystem::create_symlink(d / "sub", d / "link-to-dir");
    std::filesystem::create_symlink(d / "missing", d / "dangling");
    auto r = read_folder(d.path(), false);
    ASSERT_TRUE(r);
    ASSERT_EQ(r->size(), 6u);
    auto find = [&](std::string_view n) {
        return *std::find_if(r->begin(), r->end(), [&](const FolderEntry& e) { return e.name == n; });
    };
    EXPECT_TRUE(find("sub").is_dir);
    EXPECT_FALSE(find("link-to-dir").is_dir) << "links are not followed";
    EXPECT_TRUE(find("dangling").modified.has_value()) << "a dangling link still has its own metadata";
    EXPECT_EQ(find("data.json").size, 5u);
    EXPECT_EQ(find("data.json").type, "application/json");
    EXPECT_EQ(find("notes.TXT").type, "text/plain");
    EXPECT_EQ(find("plain").type, "application/octet-stream");
    EXPECT_EQ(find("sub").path, d / "sub");
    EXPECT_FALSE(find("data.json").record_id) << "outside a workspace nothing is read";
}

TEST(model_listing, InvalidUtf8NamesAreReplacedButPathsKeepTheBytes) {
    TempDir d;
    std::string raw = "bad\xff.txt";
    d.create_files({raw});
    auto r = read_folder(d.path(), false);
    ASSERT_TRUE(r);
    ASSERT_EQ(r->size(), 1u);
    EXPECT_EQ((*r)[0].name, "bad\xEF\xBF\xBD.txt");
    EXPECT_EQ((*r)[0].path.filename().native(), raw);
    EXPECT_EQ((*r)[0].type, "text/plain");
}

TEST(model_listing, HiddenEntriesAndToggle) {
    TempDir d;
    d.create_files({".config/", ".hidden", "b", "A/"});
    Listing l;
    EXPECT_FALSE(load_folder(l, d.path()));
    EXPECT_EQ(names(l.entries), (std::vector<std::string>{"A", "b"}));
    toggle_hidden(l);
    EXPECT_TRUE(l.show_hidden);
    EXPECT_EQ(names(l.entries), (std::vector<std::string>{".config", "A", ".hidden", "b"}));
    toggle_hidden(l);
    EXPECT_EQ(names(l.entries), (std::vector<std::string>{"A", "b"}));
    EXPECT_EQ(l.load_generation, 3u);
}

TEST(model_listing, UnreadableFolderBecomesCurrentWithTheSystemReason) {
    if (::geteuid() == 0) {
        // Root reads any folder; a missing one gives a system reason just the same.
        Listing l;
        load_folder(l, "/nonexistent-folder-for-test");
        EXPECT_EQ(l.current, "/nonexistent-folder-for-test");
        ASSERT_TRUE(l.load_error);
        EXPECT_NE(l.load_error->find("No such file or directory"), std::string::npos) << *l.load_error;
        return;
    }
    TempDir d;
    d.create_files({"locked/x"});
    ::chmod((d / "locked").c_str(), 0);
    Listing l;
    l.entries.push_back(entry("stale"));
    load_folder(l, d / "locked");
    EXPECT_EQ(l.current, d / "locked");
    EXPECT_TRUE(l.entries.empty());
    ASSERT_TRUE(l.load_error);
    EXPECT_NE(l.load_error->find("Permission denied"), std::string::npos) << *l.load_error;
}

TEST(model_listing, MissingFolderLoadErrorAndRetry) {
    TempDir d;
    Listing l;
    load_folder(l, d / "later");
    ASSERT_TRUE(l.load_error);
    EXPECT_NE(l.load_error->find("No such file or directory"), std::string::npos);
    d.create_files({"later/x"});
    reload(l);
    EXPECT_FALSE(l.load_error);
    EXPECT_EQ(names(l.entries), std::vector<std::string>{"x"});
}

TEST(model_listing, LoadCreatesTheTrashFilesFolder) {
    TempDir d;
    files::testing::ScopedEnv data("XDG_DATA_HOME", d.path().c_str());
    Listing l;
    load_folder(l, d / "Trash/files");
    EXPECT_FALSE(l.load_error);
    EXPECT_TRUE(std::filesystem::is_directory(d / "Trash/files"));
    load_folder(l, d / "Other");
    EXPECT_TRUE(l.load_error) << "only the Trash is created";
}

TEST(model_listing, RefreshIntervalBySize) {
    using std::chrono::milliseconds;
    std::pair<size_t, milliseconds> cases[] = {{0, milliseconds(750)},     {511, milliseconds(750)},
                                               {512, milliseconds(3000)},  {4095, milliseconds(3000)},
                                               {4096, milliseconds(12000)}, {19999, milliseconds(12000)},
                                               {20000, milliseconds(30000)}};
    for (auto [n, want] : cases) EXPECT_EQ(refresh_interval(n), want) << n;

    Listing l;
    l.entries.resize(512);
    Instant t0{};
    l.next_refresh = t0 + milliseconds(750);
    EXPECT_FALSE(refresh_due(l, t0 + milliseconds(749)));
    EXPECT_TRUE(refresh_due(l, t0 + milliseconds(750)));
    EXPECT_EQ(l.next_refresh, t0 + milliseconds(3750));
}

TEST(model_listing, RefreshKeepsSelectionByPathAfterOutsideRename) {
    TempDir d;
    d.create_files({"a", "b", "c", "d"});
    Listing l;
    load_folder(l, d.path());
    // Nothing changed: nothing happens.
    auto same = refresh_listing(l, std::vector<size_t>{0}, 0);
    EXPECT_FALSE(same.changed);

    std::filesystem::rename(d / "b", d / "zz");
    std::vector<size_t> selected = {3, 1, 0};  // d, b, a in selection order
    auto r = refresh_listing(l, selected, 3);
    ASSERT_TRUE(r.changed);
    EXPECT_EQ(names(l.entries), (std::vector<std::string>{"a", "c", "d", "zz"}));
    EXPECT_EQ(r.selection, (std::vector<size_t>{2, 0})) << "the renamed one drops out";
    EXPECT_EQ(r.focus, std::optional<size_t>(2)) << "focus follows d to its new index";

    auto gone = refresh_listing(l, {}, 3);
    EXPECT_FALSE(gone.changed);
    std::filesystem::remove(d / "zz");
    gone = refresh_listing(l, {}, 3);
    EXPECT_TRUE(gone.changed);
    EXPECT_FALSE(gone.focus);
}

TEST(model_listing, RefreshOfAVanishedFolderKeepsTheListing) {
    TempDir d;
    d.create_files({"x/a"});
    Listing l;
    load_folder(l, d / "x");
    std::filesystem::remove_all(d / "x");
    EXPECT_FALSE(refresh_listing(l, {}, std::nullopt).changed);
    EXPECT_EQ(names(l.entries), std::vector<std::string>{"a"});
}

TEST(model_listing, RefreshSeesAttributeChangesAndReusesDocuments) {
    REQUIRE_ATTR_DIR(d);
    d->create_files({"ws/f"});
    files::testing::ScopedEnv roots("ORVO_WORKSPACE_ROOTS", (d->path() / "ws").c_str());
    std::string avail = R"({"schema_version":1,"record_id":"r","residency":{"state":"not_resident"},)"
                        R"("transfer":{"phase":"idle","error_truncated":false},"policy":"automatic",)"
                        R"("policy_inherited":false,"replicas":{"state":"unknown"},"freshness":{}})";
    files::testing::set_attr(*d / "ws/f", "user.orvo.availability", avail);
    Listing l;
    load_folder(l, *d / "ws");
    ASSERT_EQ(l.entries.size(), 1u);
    ASSERT_TRUE(l.entries[0].availability);
    auto first = l.entries[0].availability;
    EXPECT_FALSE(refresh_listing(l, {}, {}).changed);
    EXPECT_EQ(l.entries[0].availability, first) << "unchanged bytes reuse the decoded document";

    files::testing::set_attr(*d / "ws/f", "user.orvo.sync", "local");
    auto r = refresh_listing(l, std::vector<size_t>{0}, 0);
    EXPECT_TRUE(r.changed);
    EXPECT_EQ(l.entries[0].sync, SyncState::Local);
    EXPECT_EQ(r.selection, std::vector<size_t>{0});
}

TEST(model_listing, SortCommandsReorderInPlace) {
    Listing l;
    l.entries = {entry("b", false, 1), entry("a", false, 2)};
    choose_sort_column(l, 2);
    EXPECT_EQ(l.sort_key, SortKey::Size);
    EXPECT_EQ(names(l.entries), (std::vector<std::string>{"b", "a"}));
    choose_sort_column(l, 2);
    EXPECT_TRUE(l.descending);
    EXPECT_EQ(names(l.entries), (std::vector<std::string>{"a", "b"}));
    set_descending(l, true);
    EXPECT_TRUE(l.descending);
    choose_sort_column(l, 1);
    EXPECT_EQ(l.sort_key, SortKey::Name);
    EXPECT_EQ(names(l.entries), (std::vector<std::string>{"b", "a"})) << "direction kept";
    choose_sort_column(l, 4);
    EXPECT_EQ(l.sort_key, SortKey::Name);
}

TEST(model_listing, StatusLine) {
    EXPECT_EQ(status_line_text(std::nullopt, 1, 0), "1 item");
    EXPECT_EQ(status_line_text(std::nullopt, 3, 0), "3 items");
    EXPECT_EQ(status_line_text(std::nullopt, 3, 2), "3 items  ·  2 selected");
    EXPECT_EQ(status_line_text(std::string("Copied"), 3, 0), "Copied");
    EXPECT_EQ(status_line_text(std::string("Copied"), 3, 1), "Copied  ·  1 selected");
}

TEST(model_listing, MimeTypes) {
    MimeGlobs g;
    g.add_globs2("# comment\n50:text/x-low:*.foo\n80:text/x-high:*.foo\n50:text/x-cs:*.C:cs\n"
                 "50:text/x-c++src:*.c\n60:application/x-sharedlib:*.so.[0-9]*\nbroken line\n");
    EXPECT_EQ(g.lookup("foo"), "text/x-high");
    EXPECT_EQ(g.lookup("FOO"), "text/x-high");
    EXPECT_EQ(g.lookup("C"), "text/x-cs");
    EXPECT_EQ(g.lookup("c"), "text/x-c++src");
    EXPECT_EQ(g.lookup("so"), "");
    EXPECT_EQ(builtin_mime_type("PNG"), "image/png");
    std::pair<const char*, const char*> cases[] = {{"a.pdf", "application/pdf"},
                                                   {"noext", "application/octet-stream"},
                                                   {".bashrc", "application/octet-stream"},
                                                   {"trailing.", "application/octet-stream"},
                                                   {"x.\xff", "application/octet-stream"},
                                                   {"x.unknownext", "application/octet-stream"}};
    for (auto [name, want] : cases) EXPECT_EQ(guess_mime_type(std::string_view(name)), want) << name;
}

}  // namespace
}  // namespace files::model
