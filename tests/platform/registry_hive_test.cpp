#include "platform/linux/registry_hive.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "platform/linux/reg_file_syntax.h"

namespace valo::platform {
namespace {

std::vector<std::string> path(std::string_view text) { return *splitKeyPath(text); }

std::vector<std::string> childNames(const RegistryHive::Key& key) {
  std::vector<std::string> names;
  for (const RegistryHive::Key& child : key.subKeys) names.push_back(child.name);
  return names;
}

TEST(RegFileSyntax, ValueLinesHaveTheExportForm) {
  struct Case {
    std::string name;
    RegistryValue value;
    std::string line;
  };
  const Case cases[] = {
      {"Name", RegistryValue::String("C:\\a \"b\""), R"("Name"="C:\\a \"b\"")"},
      {"", RegistryValue::String("default"), R"(@="default")"},
      {"a\"b\\", RegistryValue::Dword(42), R"("a\"b\\"=dword:0000002a)"},
      {":Range", RegistryValue::Dword(0xffffffff), R"(":Range"=dword:ffffffff)"},
      {"bin", RegistryValue::Binary(std::string("\x01\xff\x00", 3)), R"("bin"=hex:01,ff,00)"},
      {"empty", RegistryValue::Binary(""), R"("empty"=hex:)"},
      {"x", RegistryValue::ExpandString("%A%"), R"("x"=hex(2):25,00,41,00,25,00,00,00)"},
      {"nl", RegistryValue::String("a\nb"), R"("nl"=hex(1):61,00,0a,00,62,00,00,00)"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(formatValueLine(c.name, c.value), c.line);
    auto parsed = parseValueLine(c.line);
    ASSERT_TRUE(parsed.has_value()) << c.line;
    EXPECT_EQ(parsed->first, c.name);
    EXPECT_EQ(parsed->second, c.value) << c.line;
  }
}

TEST(RegFileSyntax, LongBinaryWrapsLikeAnExportAndReadsBack) {
  std::string bytes;
  for (int i = 0; i < 300; ++i) bytes.push_back(static_cast<char>(i));
  const std::string text = formatValueLine("Blob", RegistryValue::Binary(bytes));
  size_t start = 0;
  int lines = 0;
  while (start < text.size()) {
    size_t end = text.find('\n', start);
    if (end == std::string::npos) end = text.size();
    EXPECT_LE(end - start, 80u);
    if (end < text.size()) {
      EXPECT_EQ(text[end - 1], '\\');
    }
    start = end + 1;
    ++lines;
  }
  EXPECT_GT(lines, 10);

  RegistryHive hive("HKEY_CURRENT_USER");
  bool created = false;
  RegistryHive::setValue(hive.create(path("K"), created), "Blob", RegistryValue::Binary(bytes));
  RegistryHive back = RegistryHive::parse("HKEY_CURRENT_USER", hive.serialize());
  EXPECT_EQ(*RegistryHive::findValue(*back.find(path("K")), "blob"), RegistryValue::Binary(bytes));
}

TEST(RegFileSyntax, EveryTextSurvivesIncludingInvalidUtf8AndZeroBytes) {
  const std::string texts[] = {
      "",
      "用戶約定條款",
      "emoji \xF0\x9F\x98\x80 end",
      std::string("nul\0inside", 10),
      std::string("trailing nul\0", 13),
      "tab\there\r\n",
      "invalid \xff\xfe bytes \xc3",
      "encoded surrogate \xED\xA0\x80 overlong \xC0\xAF",
      "%USERPROFILE%\\Desktop",
  };
  for (const std::string& text : texts) {
    for (const RegistryValue& value :
         {RegistryValue::String(text), RegistryValue::ExpandString(text)}) {
      RegistryHive hive("HKEY_CURRENT_USER");
      bool created = false;
      RegistryHive::setValue(hive.create({"K"}, created), "v", value);
      const std::string file = hive.serialize();
      const RegistryHive parsed = RegistryHive::parse("HKEY_CURRENT_USER", file);
      const RegistryValue* back = RegistryHive::findValue(*parsed.find({"K"}), "v");
      ASSERT_NE(back, nullptr) << file;
      EXPECT_EQ(*back, value) << file;
    }
  }
}

TEST(RegFileSyntax, ReadsOtherExportForms) {
  EXPECT_EQ(parseValueLine("\"d\"=hex(4):2a,00,00,00")->second, RegistryValue::Dword(42));
  EXPECT_EQ(parseValueLine("\"b\"=hex(3):0a,0B")->second, RegistryValue::Binary("\x0a\x0b"));
  EXPECT_EQ(parseValueLine("\"s\" = \"x\"  ")->second, RegistryValue::String("x"));
  EXPECT_EQ(parseValueLine("\"n\"=DWORD:1")->second, RegistryValue::Dword(1));
  // Windows writes hex(2) text without the terminating zero sometimes.
  EXPECT_EQ(parseValueLine("\"e\"=hex(2):41,00")->second, RegistryValue::ExpandString("A"));
}

TEST(RegFileSyntax, DamagedLinesAreRejected) {
  const char* lines[] = {
      "\"unterminated=\"x\"",
      "\"n\"=\"unterminated",
      "\"n\"=\"x\" junk",
      "\"n\"=dword:123456789",
      "\"n\"=dword:",
      "\"n\"=dword:12g4",
      "\"n\"=hex:1,,2",
      "\"n\"=hex:123",
      "\"n\"=hex:zz",
      "\"n\"=hex(2):41",
      "\"n\"=hex(7):41,00,00,00",
      "\"n\"=hex(b):00,00,00,00,00,00,00,00",
      "\"n\"=hex(4):01,02",
      "\"n\"=hex(",
      "\"n\"=hex(2",
      "\"n\"=-",
      "\"n\"=",
      "\"n\"",
      "@",
      "name=\"x\"",
      "\"n\\",
      "",
  };
  for (const char* line : lines) EXPECT_FALSE(parseValueLine(line).has_value()) << line;
}

TEST(RegistryHive, SerializesSectionsDepthFirstInCreationOrder) {
  RegistryHive hive("HKEY_CURRENT_USER");
  bool created = false;
  hive.create(path("Software\\B"), created);
  RegistryHive::setValue(hive.create(path("Software\\A"), created), "v", RegistryValue::Dword(1));
  hive.create(path("Software\\B\\Inner"), created);
  RegistryHive::setValue(*hive.find({}), "", RegistryValue::String("root"));

  EXPECT_EQ(hive.serialize(),
            "Windows Registry Editor Version 5.00\n"
            "\n"
            "[HKEY_CURRENT_USER]\n"
            "@=\"root\"\n"
            "\n"
            "[HKEY_CURRENT_USER\\Software]\n"
            "\n"
            "[HKEY_CURRENT_USER\\Software\\B]\n"
            "\n"
            "[HKEY_CURRENT_USER\\Software\\B\\Inner]\n"
            "\n"
            "[HKEY_CURRENT_USER\\Software\\A]\n"
            "\"v\"=dword:00000001\n"
            "\n");
  RegistryHive back = RegistryHive::parse("HKEY_CURRENT_USER", hive.serialize());
  EXPECT_EQ(back.serialize(), hive.serialize());
  EXPECT_EQ(childNames(*back.find(path("software"))), (std::vector<std::string>{"B", "A"}));
}

TEST(RegistryHive, NamesCompareWithoutCaseAndKeepTheirSpelling) {
  RegistryHive hive("HKEY_CURRENT_USER");
  bool created = false;
  RegistryHive::Key& key = hive.create(path("Software\\NOSK"), created);
  EXPECT_TRUE(created);
  hive.create(path("SOFTWARE\\nosk"), created);
  EXPECT_FALSE(created);
  EXPECT_TRUE(RegistryHive::setValue(key, "Value", RegistryValue::Dword(1)));
  EXPECT_FALSE(RegistryHive::setValue(key, "VALUE", RegistryValue::Dword(1)));
  EXPECT_TRUE(RegistryHive::setValue(key, "vALUE", RegistryValue::String("s")));
  ASSERT_EQ(key.values.size(), 1u);
  EXPECT_EQ(key.values[0].first, "Value");
  EXPECT_EQ(childNames(*hive.find({})), std::vector<std::string>{"Software"});
  EXPECT_EQ(hive.find(path("software\\Nosk"))->name, "NOSK");
  // Only ASCII letters fold; other bytes must match exactly.
  EXPECT_FALSE(namesEqual("Ä", "ä"));
}

TEST(RegistryHive, KeyPaths) {
  EXPECT_EQ(path("a\\\\b\\"), (std::vector<std::string>{"a", "b"}));
  EXPECT_TRUE(path("").empty());
  EXPECT_FALSE(splitKeyPath("a\nb").has_value());
  EXPECT_FALSE(splitKeyPath(std::string("a\0b", 3)).has_value());
  std::string deep;
  for (int i = 0; i < 600; ++i) deep += "k\\";
  EXPECT_FALSE(splitKeyPath(deep).has_value());
}

TEST(RegistryHive, RemoveTakesTheWholeBranch) {
  RegistryHive hive("HKEY_LOCAL_MACHINE");
  bool created = false;
  hive.create(path("A\\B\\C"), created);
  hive.create(path("A\\D"), created);
  EXPECT_FALSE(hive.remove({}));
  EXPECT_FALSE(hive.remove(path("A\\X")));
  EXPECT_TRUE(hive.remove(path("a\\b")));
  EXPECT_EQ(hive.find(path("A\\B\\C")), nullptr);
  EXPECT_EQ(childNames(*hive.find(path("A"))), std::vector<std::string>{"D"});
}

TEST(RegistryHive, DamagedFileKeepsWhatItCanRead) {
  const std::string text =
      "\xEF\xBB\xBFWindows Registry Editor Version 5.00\r\n"
      "\"before any section\"=dword:00000001\n"
      "[HKEY_CURRENT_USER\\Good]\r\n"
      "\"a\"=\"1\"\n"
      "garbage line\n"
      "\"b\"=dword:zz\n"
      "\"c\"=hex:01,\\\n"
      "  02\n"
      "; a comment\n"
      "[HKEY_LOCAL_MACHINE\\Other]\n"
      "\"x\"=\"not ours\"\n"
      "[-HKEY_CURRENT_USER\\Deleted]\n"
      "\"y\"=\"in a deletion\"\n"
      "[HKEY_CURRENT_USER\\Broken\n"
      "\"z\"=\"after a broken header\"\n"
      "[HKEY_CURRENT_USER_X\\Near]\n"
      "[]\n"
      "[\n"
      "\"w\"=hex:01,\\\n"
      "[HKEY_CURRENT_USER\\Good\\Child]\n"
      "\"a\"=\"first\"\n"
      "\"A\"=\"second\"\n"
      "[hkey_current_user\\good]\n"
      "\"d\"=dword:00000004\n"
      "\"A\"=\"later\"\n"
      "\"tail\"=hex:01,\\";
  RegistryHive hive = RegistryHive::parse("HKEY_CURRENT_USER", text);
  const RegistryHive::Key* good = hive.find(path("Good"));
  ASSERT_NE(good, nullptr);
  ASSERT_EQ(good->values.size(), 3u);
  EXPECT_EQ(good->values[0].first, "a");
  EXPECT_EQ(good->values[0].second, RegistryValue::String("later"));
  EXPECT_EQ(*RegistryHive::findValue(*good, "c"), RegistryValue::Binary("\x01\x02"));
  EXPECT_EQ(*RegistryHive::findValue(*good, "d"), RegistryValue::Dword(4));
  // The continued line swallowed the next header, so "Child" is lost and its values
  // landed nowhere.
  EXPECT_EQ(childNames(*hive.find({})), std::vector<std::string>{"Good"});
  EXPECT_TRUE(hive.find({})->values.empty());
}

TEST(RegistryHive, RandomDamageNeverBreaksTheParser) {
  RegistryHive hive("HKEY_CURRENT_USER");
  bool created = false;
  RegistryHive::Key& key = hive.create(path("Software\\NOSK\\VALO"), created);
  RegistryHive::setValue(key, "s", RegistryValue::String("text \"quoted\" \\ back"));
  RegistryHive::setValue(key, "e", RegistryValue::ExpandString("%USERPROFILE%\\桌面"));
  RegistryHive::setValue(key, "d", RegistryValue::Dword(7));
  RegistryHive::setValue(key, "b", RegistryValue::Binary(std::string(200, '\x5a')));
  const std::string good = hive.serialize();

  std::mt19937 random(20240102);
  for (int round = 0; round < 2000; ++round) {
    std::string damaged = good;
    const int edits = 1 + static_cast<int>(random() % 8);
    for (int i = 0; i < edits; ++i) {
      const size_t at = random() % damaged.size();
      switch (random() % 3) {
        case 0:
          damaged[at] = static_cast<char>(random() % 256);
          break;
        case 1:
          damaged.erase(at, 1 + random() % 8);
          break;
        default:
          damaged.insert(at, 1, "\\\"[]=\n,:@"[random() % 9]);
          break;
      }
      if (damaged.empty()) damaged = "[";
    }
    RegistryHive parsed = RegistryHive::parse("HKEY_CURRENT_USER", damaged);
    // What was read must write and read back the same.
    const std::string again = parsed.serialize();
    EXPECT_EQ(RegistryHive::parse("HKEY_CURRENT_USER", again).serialize(), again);
  }
}

}  // namespace
}  // namespace valo::platform
