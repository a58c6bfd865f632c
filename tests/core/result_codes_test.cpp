#include "core/result_codes.h"

#include <gtest/gtest.h>

#include <cstring>
#include <set>
#include <string>

namespace valo {
namespace {

TEST(ResultCodesTest, FormatsCodeWithTableText) {
  EXPECT_EQ(formatErrorMessage(53901), "<53901>使用者帳號空白");
  EXPECT_EQ(formatErrorMessage(1), "<1>不明的錯誤");
  EXPECT_EQ(formatErrorMessage(59999), "<59999>HTTP 連線失敗");
  EXPECT_EQ(formatErrorMessage(53401), "<53401>使用者按下「取消」鍵或關閉視窗");
}

TEST(ResultCodesTest, SuccessHasEmptyMessageButATableEntry) {
  EXPECT_EQ(formatErrorMessage(0), "");
  ASSERT_NE(stringTableText(0), nullptr);
  EXPECT_STREQ(stringTableText(0), "成功");
}

TEST(ResultCodesTest, CodeWithoutEntryGivesBracketsOnly) {
  for (int code : {55703, 999, 2, 52000, 60000, -1, -53901}) {
    SCOPED_TRACE(code);
    EXPECT_EQ(stringTableText(code), nullptr);
    EXPECT_EQ(formatErrorMessage(code), "<" + std::to_string(code) + ">");
  }
  EXPECT_EQ(formatErrorMessage(-1), "<-1>");
}

TEST(ResultCodesTest, TableIsSortedUniqueAndComplete) {
  const auto table = stringTable();
  ASSERT_FALSE(table.empty());
  for (size_t i = 1; i < table.size(); ++i) {
    EXPECT_LT(table[i - 1].code, table[i].code) << "at index " << i;
  }
  for (const auto& entry : table) {
    ASSERT_NE(entry.text, nullptr);
    EXPECT_GT(std::strlen(entry.text), 0u) << entry.code;
    EXPECT_EQ(std::strchr(entry.text, '%'), nullptr) << entry.code;  // no format directives
    EXPECT_EQ(stringTableText(entry.code), entry.text);
  }
  EXPECT_EQ(table.size(), 117u);
}

// One code of each family, the entries no operation produces, and ids that share a text.
TEST(ResultCodesTest, RepresentativeEntries) {
  const struct {
    int code;
    const char* text;
  } cases[] = {
      {52013, "私鑰內容為空值"},
      {52107, "未指定憑證檔密碼"},
      {52111, "產生 P12 憑證失敗"},
      {52401, "PFX 憑證檔內容為空值"},
      {52501, "PFX 憑證檔內容為空值"},
      {52809, "BASE64 編碼失敗"},
      {53101, "不明的錯誤"},
      {53103, "伺服器端回傳憑證資訊格式錯誤, BASE64 解碼失敗"},
      {53301, "開啟檔案以寫入資料失敗"},
      {53303, "資料寫入失敗"},
      {53705, "用戶端版本資訊不符"},
      {53903, "使用者密碼空白"},
      {54406, "找不到符合查詢條件的憑證資訊"},
      {54613, "簽發者憑證主體格式轉換發生錯誤"},
      {55401, "此版本伺服器無憑證下載功能"},
      {55502, "憑證用戶目前不允許下載憑證"},
      {55601, "憑證用戶取消憑證上傳行動裝置"},
      {55701, "憑證用戶取消選擇憑證安裝目的瀏覽器"},
      {59101, "您不同意憑證申請約定條款, 無法為您申請憑證"},
      {59201, "您不同意憑證更新約定條款, 無法為您更新憑證"},
      {59901, "檔案下載失敗"},
      {59903, "取回環境設定機碼值失敗"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.code);
    ASSERT_NE(stringTableText(c.code), nullptr);
    EXPECT_STREQ(stringTableText(c.code), c.text);
  }
}

TEST(ResultCodesTest, NamedConstantsHaveEntries) {
  for (int code :
       {code::kUnknownError, code::kFileDownloadFailed, code::kRegistrySettingsFailed,
        code::kHttpConnectFailed, code::kOpenFileForWriteFailed, code::kWriteDataFailed,
        code::kUserCancelled, code::kStoreOpenFailed, code::kNoMatchingCert,
        code::kPkcs12ParseFailed, code::kLastActiveCertFailed, code::kMyStoreOpenFailed,
        code::kTempStoreOpenFailed, code::kCertNotInMyStore, code::kActivationReportFailed}) {
    EXPECT_NE(stringTableText(code), nullptr) << code;
  }
}

}  // namespace
}  // namespace valo
