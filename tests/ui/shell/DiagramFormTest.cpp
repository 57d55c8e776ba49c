// The diagram window: bitmaps and metafiles, fitting the window to a bitmap, saving the picture.
#include <QApplication>
#include <QBuffer>
#include <QMdiSubWindow>
#include <cstring>
#include <regex>

#include "ShellTestSupport.h"
#include "shell/DiagramForm.h"
#include "shell/WmfPicture.h"

using namespace tal;

namespace {

void PutWord(std::string& out, unsigned value) {
  out += static_cast<char>(value & 0xff);
  out += static_cast<char>((value >> 8) & 0xff);
}
void PutDword(std::string& out, unsigned value) {
  PutWord(out, value & 0xffff);
  PutWord(out, value >> 16);
}
void Record(std::string& out, unsigned function, std::initializer_list<unsigned> words) {
  PutDword(out, static_cast<unsigned>(3 + words.size()));
  PutWord(out, function);
  for (unsigned w : words) PutWord(out, w);
}

// A placeable metafile one inch wide and half an inch high: a red and a blue square with white
// paper between them.
std::string TwoSquaresMetafile() {
  std::string records;
  Record(records, 0x020B, {0, 0});          // SetWindowOrg
  Record(records, 0x020C, {500, 1000});     // SetWindowExt: height, width
  Record(records, 0x02FC, {0, 0x00FF, 0x0000, 0});  // CreateBrushIndirect: solid, red
  Record(records, 0x012D, {0});             // SelectObject
  Record(records, 0x041B, {400, 400, 100, 100});  // Rectangle: bottom, right, top, left
  Record(records, 0x02FC, {0, 0x0000, 0x00FF, 0});  // CreateBrushIndirect: solid, blue
  Record(records, 0x012D, {1});
  Record(records, 0x041B, {400, 900, 100, 600});
  Record(records, 0x0000, {});              // end of file

  std::string header;
  PutWord(header, 1);       // in memory
  PutWord(header, 9);       // header words
  PutWord(header, 0x0300);  // version
  PutDword(header, static_cast<unsigned>((18 + records.size()) / 2));
  PutWord(header, 2);       // objects
  PutDword(header, 7);      // largest record in words
  PutWord(header, 0);

  std::string placeable;
  PutDword(placeable, 0x9AC6CDD7);
  PutWord(placeable, 0);
  for (unsigned v : {0u, 0u, 1000u, 500u}) PutWord(placeable, v);
  PutWord(placeable, 1000);  // units per inch
  PutDword(placeable, 0);
  unsigned checksum = 0;
  for (std::size_t i = 0; i < placeable.size(); i += 2)
    checksum ^= static_cast<unsigned char>(placeable[i]) | (static_cast<unsigned char>(placeable[i + 1]) << 8);
  PutWord(placeable, checksum);
  return placeable + header + records;
}

// The two squares claiming `units` by `units` at `perInch` units per inch.
std::string ClaimingSize(unsigned units, unsigned perInch) {
  std::string bytes = TwoSquaresMetafile();
  for (unsigned at : {10u, 12u, 14u}) bytes[at] = char(at < 14 ? units & 0xff : perInch), bytes[at + 1] = char(at < 14 ? units >> 8 : 0);
  bytes[20] = bytes[21] = 0;
  for (int i = 0; i < 20; i += 2) bytes[20] ^= bytes[i], bytes[21] ^= bytes[i + 1];
  return bytes;
}

std::string BitmapBytes(int width, int height) {
  QImage image(width, height, QImage::Format_RGB32);
  image.fill(QColor(10, 120, 200));
  QByteArray bytes;
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::WriteOnly);
  image.save(&buffer, "BMP");
  return bytes.toStdString();
}

}  // namespace

class DiagramFormTest : public taltest::ShellTest {
 protected:
  void SetUp() override {
    ShellTest::SetUp();
    makeFrame();
    frame->resize(800, 600);
    frame->show();
  }
  TDiagramForm* show(const std::string& path, bool fit) {
    auto* diagram = new TDiagramForm(frame.get());
    EXPECT_EQ(diagram->caption(), "Diagram");
    diagram->LoadPicture(path);
    frame->AddChild(diagram);
    if (fit) diagram->FitToPicture();
    return diagram;
  }
};

TEST_F(DiagramFormTest, ABitmapShowsUnderItsNameAndTheWindowFitsItWhereItCan) {
  TDiagramForm* small = show(dir.write("A.BMP", BitmapBytes(120, 90)), true);
  EXPECT_EQ(small->caption(), dir.file("A.BMP"));
  EXPECT_EQ(small->picture().size(), QSize(120, 90));
  EXPECT_EQ(small->size(), QSize(122, 92));
  EXPECT_EQ(small->note(), "");

  TDiagramForm* wide = show(dir.write("W.BMP", BitmapBytes(5000, 90)), true);
  EXPECT_EQ(wide->size().height(), 92) << "the height still fits";
  EXPECT_LT(wide->size().width(), 5000) << "the width would run off the screen";
}

TEST_F(DiagramFormTest, AMetafileIsDrawnAtItsOwnSize) {
  TDiagramForm* diagram = show(dir.write("A.WMF", TwoSquaresMetafile()), false);
#ifdef TAL_HAVE_LIBWMF
  ASSERT_FALSE(diagram->picture().isNull()) << diagram->note();
  EXPECT_EQ(diagram->picture().size(), QSize(96, 48));
  // The picture spans what the metafile draws: red at the left, white paper, blue at the right.
  QColor left(diagram->picture().pixel(18, 24)), middle(diagram->picture().pixel(48, 24)),
      right(diagram->picture().pixel(78, 24));
  EXPECT_TRUE(left.red() > 200 && left.green() < 60 && left.blue() < 60) << left.name().toStdString();
  EXPECT_TRUE(middle.red() > 200 && middle.green() > 200 && middle.blue() > 200) << middle.name().toStdString();
  EXPECT_TRUE(right.blue() > 200 && right.red() < 60) << right.name().toStdString();
#else
  EXPECT_NE(diagram->note().find("metafile"), std::string::npos);
#endif
}

TEST_F(DiagramFormTest, APictureThatCannotBeShownLeavesANoteNamingTheFile) {
  for (const std::string& name : {std::string("BAD.BMP"), std::string("BAD.WMF")}) {
    auto* diagram = new TDiagramForm(frame.get());
    EXPECT_FALSE(diagram->LoadPicture(dir.write(name, "not a picture at all, only text")));
    frame->AddChild(diagram);
    EXPECT_TRUE(diagram->picture().isNull());
    EXPECT_NE(diagram->note().find(dir.file(name)), std::string::npos) << diagram->note();
  }
  auto* missing = new TDiagramForm(frame.get());
  EXPECT_FALSE(missing->LoadPicture(dir.file("NONE.BMP")));
  delete missing;
}

TEST_F(DiagramFormTest, SavingWritesThePictureFileUnchanged) {
  std::string bytes = BitmapBytes(30, 20);
  TDiagramForm* diagram = show(dir.write("A.BMP", bytes), false);
  ASSERT_TRUE(diagram->SavePicture(dir.file("COPY.BMP")));
  EXPECT_EQ(taltest::ReadFile(dir.file("COPY.BMP")), bytes);
  EXPECT_EQ(diagram->caption(), dir.file("A.BMP"));
}

#ifdef TAL_HAVE_LIBWMF
TEST_F(DiagramFormTest, HugeMetafilesAreDrawnScaledDownAndAbsurdOnesRefused) {
  // 20000 pixels square drawn no larger than needed; 30000 inches refused.
  TDiagramForm* huge = show(dir.write("HUGE.WMF", ClaimingSize(20000, 96)), false);
  EXPECT_EQ(huge->picture().size(), QSize(int(MaxMetafileSide), int(MaxMetafileSide)));
  TDiagramForm* absurd = show(dir.write("ABSURD.WMF", ClaimingSize(30000, 1)), false);
  EXPECT_TRUE(absurd->picture().isNull());
  EXPECT_EQ(absurd->note(), dir.file("ABSURD.WMF") + ": The metafile has no usable size.");
}
#endif

TEST(MetafileFonts, AMissingFontFolderIsNamedWithItsPackage) {
  taltest::TempDir fonts;
  EXPECT_EQ(MetafileFontProblem(fonts.path()), "The metafile cannot be drawn: the fonts the metafile renderer needs are "
                                               "not installed (folder " + fonts.path() + ", Debian package fonts-urw-base35).");
  fonts.write("NimbusSans-Regular.t1", "x");
  EXPECT_EQ(MetafileFontProblem(fonts.path()), "");
}

TEST(InstallScript, NamesEveryPackageTheProgramNeedsAtRunTime) {
  std::string script = taltest::ReadFile(std::string(TAL_SOURCE_DIR) + "/scripts/install-deps.sh");
  std::size_t start = script.find("packages=("), end = script.find("\"$@\")", start);
  ASSERT_TRUE(start != std::string::npos && end != std::string::npos);
  std::string list = " " + std::regex_replace(script.substr(start + 10, end - start - 10), std::regex("#[^\n]*|\\s+"), " ");
  for (const char* package : {"fonts-urw-base35", "fonts-liberation", "libwmf-dev", "qt6-base-dev", "xvfb", "xauth"})
    EXPECT_NE(list.find(std::string(" ") + package + " "), std::string::npos) << package;
}
