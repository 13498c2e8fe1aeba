// The compiled Zephlo.chm beside the program, read back through the system's
// CHM storage: its table of contents and index, the context ids the settings
// pages open, and the shortcut topic against the program's own key table.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <map>
#include <regex>
#include <string>
#include <vector>

#include "base/text.h"
#include "chm_storage.h"
#include "settings/key_bindings.h"
#include "support/test_support.h"

namespace {

struct SitemapEntry {
    std::wstring name;
    std::vector<std::wstring> locals;
};

// The <OBJECT> entries of a table of contents or an index: the first Name
// parameter and every Local parameter of each.
std::vector<SitemapEntry> SitemapEntries(const std::wstring& text) {
    std::vector<SitemapEntry> entries;
    std::wregex object(L"<OBJECT\\s+type=\"text/sitemap\">([\\s\\S]*?)</OBJECT>",
                       std::regex::icase);
    std::wregex param(L"<param\\s+name=\"(\\w+)\"\\s+value=\"([^\"]*)\">", std::regex::icase);
    for (std::wsregex_iterator it(text.begin(), text.end(), object), end; it != end; ++it) {
        SitemapEntry entry;
        std::wstring body = (*it)[1];
        for (std::wsregex_iterator p(body.begin(), body.end(), param); p != end; ++p) {
            std::wstring kind = (*p)[1];
            if (_wcsicmp(kind.c_str(), L"Name") == 0 && entry.name.empty()) {
                entry.name = (*p)[2];
            } else if (_wcsicmp(kind.c_str(), L"Local") == 0) {
                entry.locals.push_back((*p)[2]);
            }
        }
        entries.push_back(entry);
    }
    return entries;
}

// The visible text of an HTML fragment: tags dropped, the entities the
// topics use turned back into characters.
std::wstring PlainText(std::wstring html) {
    html = std::regex_replace(html, std::wregex(L"<[^>]*>"), L"");
    const std::pair<const wchar_t*, const wchar_t*> entities[] = {
        {L"&gt;", L">"}, {L"&lt;", L"<"}, {L"&quot;", L"\""}, {L"&amp;", L"&"}};
    for (const auto& [entity, character] : entities) {
        html = std::regex_replace(html, std::wregex(entity), character);
    }
    return html;
}

std::uint32_t ReadUint32(const std::string& bytes, std::size_t at) {
    std::uint32_t value = 0;
    std::memcpy(&value, bytes.data() + at, sizeof value);
    return value;
}

// The records of #SYSTEM after its version: code, length, data.
std::map<std::uint16_t, std::string> SystemRecords(const std::string& system) {
    std::map<std::uint16_t, std::string> records;
    std::size_t at = 4;
    while (at + 4 <= system.size()) {
        std::uint16_t code = 0, length = 0;
        std::memcpy(&code, system.data() + at, 2);
        std::memcpy(&length, system.data() + at + 2, 2);
        at += 4;
        if (at + length > system.size()) {
            break;
        }
        records[code] = system.substr(at, length);
        at += length;
    }
    return records;
}

std::string CString(const std::string& bytes, std::size_t at) {
    return at < bytes.size() ? std::string(bytes.c_str() + at) : std::string();
}

class HelpFileTest : public testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(chm_.Open(BuildFolder() + L"\\Zephlo.chm")); }

    std::wstring ReadText(const std::wstring& name) {
        std::string bytes;
        std::wstring text;
        EXPECT_TRUE(chm_.Read(name, bytes)) << ToUtf8(name);
        EXPECT_TRUE(DecodeCodePage932(bytes, text)) << ToUtf8(name) << " is not code page 932";
        return text;
    }

    // The files that #SYSTEM names as the table of contents (code 0) and the index (code 1).
    std::wstring SystemFile(std::uint16_t code) {
        std::string system;
        EXPECT_TRUE(chm_.Read(L"#SYSTEM", system));
        std::map<std::uint16_t, std::string> records = SystemRecords(system);
        return records.count(code) ? FromUtf8(CString(records[code], 0)) : std::wstring();
    }

    // COM for as long as the storage lives: made before it, gone after it.
    ComApartment com_;
    ChmStorage chm_;
};

TEST_F(HelpFileTest, ContentsAndIndexReferOnlyToTopicsTheFileHolds) {
    for (std::uint16_t code : {0, 1}) {
        std::wstring sitemap = SystemFile(code);
        ASSERT_FALSE(sitemap.empty()) << "#SYSTEM names no file with code " << code;
        std::vector<SitemapEntry> entries = SitemapEntries(ReadText(sitemap));
        ASSERT_FALSE(entries.empty()) << ToUtf8(sitemap);
        for (const SitemapEntry& entry : entries) {
            EXPECT_FALSE(entry.name.empty()) << ToUtf8(sitemap);
            ASSERT_FALSE(entry.locals.empty()) << ToUtf8(entry.name);
            for (const std::wstring& local : entry.locals) {
                std::wstring topic = ReadText(local);
                EXPECT_NE(topic.find(L"charset=Shift_JIS"), std::wstring::npos) << ToUtf8(local);
                EXPECT_NE(topic.find(L"</html>"), std::wstring::npos) << ToUtf8(local);
            }
        }
    }
}

TEST_F(HelpFileTest, EachSettingsPageContextOpensThatPagesTopic) {
    struct Page {
        DWORD context;
        const wchar_t* title;
    };
    const Page pages[] = {{2001, L"一般"},       {2002, L"履歴/ファイルリスト"},
                          {2003, L"プレイヤー"}, {2004, L"プレイリスト/構成"},
                          {2005, L"外観"},       {2006, L"キー割り当て"}};

    std::string ivb, strings;
    ASSERT_TRUE(chm_.Read(L"#IVB", ivb));
    ASSERT_TRUE(chm_.Read(L"#STRINGS", strings));
    ASSERT_GE(ivb.size(), 4u);
    std::map<DWORD, std::wstring> topics;
    for (std::size_t at = 4; at + 8 <= ivb.size() && at < 4 + ReadUint32(ivb, 0); at += 8) {
        topics[ReadUint32(ivb, at)] = FromUtf8(CString(strings, ReadUint32(ivb, at + 4)));
    }
    std::vector<SitemapEntry> contents = SitemapEntries(ReadText(SystemFile(0)));

    for (const Page& page : pages) {
        SCOPED_TRACE(page.context);
        ASSERT_EQ(topics.count(page.context), 1u);
        const std::wstring& topic = topics[page.context];
        std::wstring text = ReadText(topic);
        EXPECT_NE(text.find(L"<title>設定：「" + std::wstring(page.title) + L"」ページ</title>"),
                  std::wstring::npos)
            << ToUtf8(topic);
        bool listed = false;
        for (const SitemapEntry& entry : contents) {
            for (const std::wstring& local : entry.locals) {
                listed |= _wcsicmp(local.c_str(), topic.c_str()) == 0 &&
                          entry.name.find(page.title) != std::wstring::npos;
            }
        }
        EXPECT_TRUE(listed) << ToUtf8(topic) << " is not in the table of contents under its title";
    }
}

TEST_F(HelpFileTest, ShortcutTopicListsEveryBuiltInKeyWithItsCommand) {
    std::wstring topic = ReadText(L"shortcuts.html");
    std::wstring table = topic.substr(topic.find(L"<table class=\"keys\">"));
    table = table.substr(0, table.find(L"</table>"));
    std::vector<std::pair<std::wstring, std::wstring>> rows;
    std::wregex row(L"<tr><td>(.*?)</td><td>(.*?)</td></tr>");
    for (std::wsregex_iterator it(table.begin(), table.end(), row), end; it != end; ++it) {
        rows.emplace_back(PlainText((*it)[1]), PlainText((*it)[2]));
    }

    EXPECT_EQ(rows.size(), DefaultKeyTable.size());
    for (const DefaultKey& entry : DefaultKeyTable) {
        std::wstring label = LoadText(entry.id + 200);
        std::wstring keys = ShortcutText(entry.binding);
        ASSERT_FALSE(label.empty()) << entry.id;
        bool found = false;
        for (const auto& [command, shortcut] : rows) {
            found |= command.size() >= label.size() &&
                     command.compare(command.size() - label.size(), label.size(), label) == 0 &&
                     shortcut.compare(0, keys.size(), keys) == 0 &&
                     (shortcut.size() == keys.size() || shortcut[keys.size()] == L'（');
        }
        EXPECT_TRUE(found) << ToUtf8(label) << " " << ToUtf8(keys);
    }
}

}  // namespace
