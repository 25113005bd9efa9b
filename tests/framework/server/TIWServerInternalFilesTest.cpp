#include <cstdlib>
#include <filesystem>

#include <gtest/gtest.h>

#include "framework/server/ServerErrors.h"
#include "framework/server/TIWServerInternalFiles.h"
#include "framework/server/ZStream.h"
#include "framework/www/EmbeddedResources.h"
#include "tests/framework/server/ServerTestSupport.h"

namespace orv {
namespace {

TEST(EmbeddedResourcesTest, TableIsSortedAndHoldsEveryFrameworkFile) {
  const auto table = embeddedResources();
  for (std::size_t i = 1; i < table.size(); ++i) EXPECT_LT(table[i - 1].name, table[i].name);
  for (const char* name : {"IW_FAVICON", "IW_GFX_SECURITYCHECK", "IW_GFX_ERROR",
                           "IW_GFX_SESSIONTIMEOUT", "IW_GFX_SESSIONINVALID", "IW_JS_IWBASE",
                           "IW_JS_IWLIB", "IW_GFX_TP", "IW_GFX_COOLCHECKBOX_TRUE"}) {
    SCOPED_TRACE(name);
    const EmbeddedResource* r = findEmbeddedResource(name);
    ASSERT_NE(r, nullptr);
    EXPECT_FALSE(r->bytes.empty());
  }
  EXPECT_NE(findEmbeddedResource("iw_gfx_tp"), nullptr);
  EXPECT_EQ(findEmbeddedResource("IW_NOTHING"), nullptr);
}

TEST(EmbeddedResourcesTest, IWLibIsTheBrowserLibraryFollowedByTheMaskPlugIn) {
  const EmbeddedResource* r = findEmbeddedResource("IW_JS_IWLIB");
  ASSERT_NE(r, nullptr);
  const std::string js(reinterpret_cast<const char*>(r->bytes.data()), r->bytes.size());
  EXPECT_EQ(js.rfind("/*!\n * jQuery JavaScript Library v1.8.2\n", 0), 0u);
  const auto libraryEnd = js.find("})( window );\n;\n");
  ASSERT_NE(libraryEnd, std::string::npos);
  EXPECT_NE(js.find("$.mask = {", libraryEnd), std::string::npos);
  // Nothing of the module wrapper reaches the browser.
  EXPECT_EQ(js.find("require('jsdom')"), std::string::npos);
  EXPECT_EQ(js.find("noConflict();\n  return window.jQuery"), std::string::npos);
  EXPECT_EQ(js.find("module.exports = create"), std::string::npos);
}

// Loads IWLib.js into the system's browser and reads what it reports.
TEST(EmbeddedResourcesTest, IWLibRunsInABrowser) {
  if (!std::filesystem::exists("/usr/bin/chromium")) GTEST_SKIP() << "no chromium";
  const EmbeddedResource* r = findEmbeddedResource("IW_JS_IWLIB");
  ASSERT_NE(r, nullptr);
  test::TempDir dir;
  test::writeFile(dir.path() + "IWLib.js",
                  std::string(reinterpret_cast<const char*>(r->bytes.data()), r->bytes.size()));
  test::writeFile(dir.path() + "t.html",
                  "<html><head><script src=\"IWLib.js\"></script></head><body><input id=\"i\">"
                  "<div id=\"out\">none</div><script>var r=[];try{r.push(jQuery.fn.jquery,"
                  "typeof jQuery.fn.mask);$('#i').mask('99-99');r.push('masked');}catch(e){"
                  "r.push('error '+e);}document.getElementById('out').textContent=r.join(',');"
                  "</script></body></html>");
  const std::string cmd = "timeout 60 /usr/bin/chromium --headless --no-sandbox --disable-gpu "
                          "--user-data-dir=" + dir.path() + "profile --dump-dom file://" +
                          dir.path() + "t.html > " + dir.path() + "dom.txt 2>/dev/null";
  ASSERT_EQ(std::system(cmd.c_str()), 0);
  EXPECT_NE(test::readFile(dir.path() + "dom.txt").find("<div id=\"out\">1.8.2,function,masked</div>"),
            std::string::npos);
}

class InternalFilesTest : public ::testing::Test {
 protected:
  TIWServerInternalFiles files;
};

TEST_F(InternalFilesTest, RegisteredFilesKeepTheirUrlPaths) {
  files.RegisterFrameworkFiles();
  TIWServerInternalFiles::TInternalFile row;
  ASSERT_TRUE(files.Find("IW_FAVICON", row));
  EXPECT_EQ(row.mFileName, "FAVICON.ICO");
  ASSERT_TRUE(files.Find("iw_gfx_coolcheckbox_false", row));
  EXPECT_EQ(row.mFileName, "gfx/CoolCheckBox_False.gif");
  ASSERT_TRUE(files.Find("IW_JS_IWLIB", row));
  EXPECT_EQ(row.mFileName, "/js/IWLib.js");
  EXPECT_FALSE(row.mIsCompressed);
}

TEST_F(InternalFilesTest, MissingFilesRaiseTheirTexts) {
  EXPECT_EQ(test::errorOf([&] { files.Add("IW_JS_NOTHERE", "/js/x.js"); }),
            "Cannot find internal file: IW_JS_NOTHERE");
  EXPECT_EQ(test::errorOf([&] { files.ResourceAsStream("IW_JS_NOTHERE"); }),
            "Resource IW_JS_NOTHERE not found.");
  EXPECT_FALSE(files.ResourceExists("IW_JS_NOTHERE"));
}

TEST_F(InternalFilesTest, PreCompressionPacksScriptsAndStyleSheetsOnce) {
  files.RegisterFrameworkFiles();
  const std::string plain = files.ResourceAsString("IW_JS_IWLIB");
  files.PreCompress();
  const InternalFileView js = files.ResourceAsStream("IW_JS_IWLIB");
  EXPECT_TRUE(js.compressed);
  EXPECT_TRUE(detail::isGzip(js.bytes));
  EXPECT_LT(js.bytes.size(), plain.size() / 2);
  EXPECT_EQ(detail::zDecompress(js.bytes), plain);
  EXPECT_EQ(files.ResourceAsString("IW_JS_IWLIB"), plain);
  EXPECT_TRUE(files.ResourceAsStream("IW_CSS_IWNOTIFY").compressed);
  EXPECT_FALSE(files.ResourceAsStream("IW_GFX_TP").compressed);
  // A second pass changes nothing.
  files.PreCompress();
  EXPECT_EQ(detail::zDecompress(files.ResourceAsStream("IW_JS_IWLIB").bytes), plain);
}

TEST_F(InternalFilesTest, AlreadyGzippedResourceIsOnlyFlagged) {
  const std::string packed = detail::zCompress("abc", detail::ZWrapper::Gzip, 9);
  files.AddBytes("IW_JS_PACKED", "/js/Packed.js", packed);
  files.PreCompress();
  const InternalFileView v = files.ResourceAsStream("IW_JS_PACKED");
  EXPECT_TRUE(v.compressed);
  EXPECT_EQ(std::string(v.bytes), packed);
}

TEST_F(InternalFilesTest, ReplacedRowLosesItsCompressedFlag) {
  files.AddBytes("IW_JS_A", "/js/A.js", "one");
  files.PreCompress();
  EXPECT_TRUE(files.ResourceAsStream("IW_JS_A").compressed);
  files.AddBytes("IW_JS_A", "/js/A.js", "two");
  EXPECT_FALSE(files.ResourceAsStream("IW_JS_A").compressed);
}

TEST_F(InternalFilesTest, ReadableVariantIsTriedFirstWhenAskedFor) {
  files.AddBytes("IW_JS_X", "/js/X.js", "packed");
  files.AddBytes("IW_JS_X_DBG", "/js/X.js", "readable");
  EXPECT_EQ(std::string(files.ResourceAsStream("IW_JS_X").bytes), "packed");
  files.SetUseUncompressedFiles(true);
  EXPECT_EQ(std::string(files.ResourceAsStream("IW_JS_X").bytes), "readable");
  EXPECT_EQ(std::string(files.ResourceAsStream("iw_js_x").bytes), "readable");
  files.AddBytes("IW_GFX_Y", "/gfx/Y.gif", "image");
  files.AddBytes("IW_GFX_Y_DBG", "/gfx/Y.gif", "other");
  EXPECT_EQ(std::string(files.ResourceAsStream("IW_GFX_Y").bytes), "image");
}

TEST_F(InternalFilesTest, ResourceNeededEventSuppliesMissingFiles) {
  files.SetOnResourceNeeded([](const std::string& name, std::shared_ptr<const std::string>& bytes,
                               bool& cacheable) {
    if (name != "IW_JS_GENERATED") return false;
    bytes = std::make_shared<const std::string>("made");
    cacheable = false;
    return true;
  });
  const InternalFileView v = files.ResourceAsStream("IW_JS_GENERATED");
  EXPECT_EQ(std::string(v.bytes), "made");
  EXPECT_FALSE(v.cacheable);
  EXPECT_TRUE(files.ResourceExists("IW_JS_GENERATED"));
  EXPECT_FALSE(files.ResourceExists("IW_JS_OTHER"));
}

TEST_F(InternalFilesTest, ViewsOutliveAReplacedRow) {
  files.AddBytes("IW_JS_A", "/js/A.js", "first");
  const InternalFileView v = files.ResourceAsStream("IW_JS_A");
  files.AddBytes("IW_JS_A", "/js/A.js", "second");
  EXPECT_EQ(std::string(v.bytes), "first");
}

}  // namespace
}  // namespace orv
