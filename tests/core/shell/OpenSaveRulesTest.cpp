#include <gtest/gtest.h>

#include "TestSupport.h"
#include "shell/OpenSaveRules.h"

using namespace tal;
using taltest::TempDir;

TEST(OpenSaveRules, ExtensionChoosesTheWindow) {
  struct Case {
    const char* name;
    OpenTarget target;
  };
  const Case cases[] = {
      {"/w/A.DCK", OpenTarget::Deck},          {"/w/a.dek", OpenTarget::Deck},
      {"/w/F.TKD", OpenTarget::FormDeck},      {"/w/F.tkx", OpenTarget::FormDeck},
      {"/w/P.SPF", OpenTarget::PlotDescription}, {"/w/A.BMP", OpenTarget::Diagram},
      {"/w/A.dgm", OpenTarget::Diagram},       {"/w/T.TBL", OpenTarget::Table},
      {"/w/A.PLT", OpenTarget::PlotData},      {"/w/A.LST", OpenTarget::Listing},
      {"/w/A.WMF", OpenTarget::Text},          {"/w/A.OUT", OpenTarget::Text},
      {"/w/P.IDX", OpenTarget::Text},          {"/w/A.DECK", OpenTarget::Text},
      {"/w/v1.DCK/README", OpenTarget::Text},
  };
  for (const auto& c : cases) EXPECT_EQ(DecideOpen(c.name, "* a comment", false).target, c.target) << c.name;
}

TEST(OpenSaveRules, FirstLineMarkerMakesAnyFileAFormDeck) {
  OpenDecision text = DecideOpen("/w/NOTES.TXT", "*talkit", false);
  EXPECT_EQ(text.target, OpenTarget::FormDeck);
  EXPECT_EQ(text.extension, ".TKD");
  EXPECT_EQ(DecideOpen("/w/A.DCK", "*TalKit", false).target, OpenTarget::FormDeck);
  // Only the exact line counts.
  EXPECT_EQ(DecideOpen("/w/NOTES.TXT", "*TALKIT ", false).target, OpenTarget::Text);
  EXPECT_EQ(DecideOpen("/w/NOTES.TXT", " *TALKIT", false).target, OpenTarget::Text);
  EXPECT_EQ(DecideOpen("/w/NOTES.TXT", "*TALKITU", false).target, OpenTarget::Text);
}

TEST(OpenSaveRules, EditTalkitFileTakesFormDecksByNameOrEitherMarker) {
  EXPECT_TRUE(IsFormDeckForEditing("/w/F.tkd", ""));
  EXPECT_TRUE(IsFormDeckForEditing("/w/F.TXT", "*talkit"));
  EXPECT_TRUE(IsFormDeckForEditing("/w/F.DCK", "*TalkitU"));
  EXPECT_FALSE(IsFormDeckForEditing("/w/F.TKX", "* encoded"));
  EXPECT_FALSE(IsFormDeckForEditing("/w/F.TXT", "*TALKITX"));
  // The dispatcher knows only the first marker.
  EXPECT_EQ(DecideOpen("/w/F.TXT", "*TALKITU", false).target, OpenTarget::Text);
}

TEST(OpenSaveRules, FirstLineIsReadSafely) {
  TempDir dir;
  EXPECT_EQ(ReadFirstLine(dir.write("crlf.txt", "*TALKIT\r\nsecond\r\n")), "*TALKIT");
  EXPECT_EQ(ReadFirstLine(dir.write("empty.txt", "")), "");
  EXPECT_EQ(ReadFirstLine(dir.write("long.txt", std::string(300, 'x') + "\nnext\n")), std::string(255, 'x'));
  EXPECT_EQ(ReadFirstLine(dir.write("bin.bmp", std::string("BM\0\0\x01\xff", 6) + std::string(5000, '\0'))),
            std::string("BM\0\0\x01\xff", 6) + std::string(249, '\0'));
  EXPECT_EQ(ReadFirstLine(dir.file("missing.txt")), std::nullopt);
  EXPECT_EQ(ReadFirstLine(dir.path()), std::nullopt);
}

TEST(OpenSaveRules, WithIndexFilesTheLastOpenedKindIsOfferedAgain) {
  struct Case {
    const char* last;
    const char* pattern;
    int position;
  };
  const Case cases[] = {{"*.DCK", "*.IDX", 4},       {"/w/A.DCK", "*.DCK", 1},  {"/w/F.tkd", "*.TKD", 2}, {"/w/T.TBL", "*.TBL", 9},
                        {"/w/E.TKX", "*.TKX", 10}, {"/w/N.TXT", "*.TXT", 11}, {"/w/v1.2/README", "*", 11}};
  for (const auto& c : cases) {
    FileDialogState dialog = InitialOpenDialog();
    dialog.fileName = c.last;  // the file opened last
    PrepareOpenDialog(dialog, true, false);
    EXPECT_EQ(dialog.fileName, c.pattern) << c.last;
    EXPECT_EQ(dialog.position, c.position) << c.last;
    EXPECT_EQ(dialog.defaultExtension, "IDX");
  }
}

TEST(OpenSaveRules, OpenedNameGetsTheDefaultExtensionOnlyWhenThatFileExists) {
  TempDir dir;
  FileDialogState open = InitialOpenDialog();
  dir.write("Makefile", "all:\n");
  EXPECT_EQ(AcceptChoice(open, {dir.file("Makefile"), 10}, true), dir.file("Makefile"));
  EXPECT_EQ(open.position, 11);
  dir.write("A.DCK", "deck\n");
  EXPECT_EQ(AcceptChoice(open, {dir.file("A"), 0}, true), dir.file("A.DCK"));
  EXPECT_EQ(open.fileName, dir.file("A.DCK"));
}

TEST(OpenSaveRules, SaveAsPicksThePositionAndTheEditorKind) {
  struct Case {
    const char* proposed;
    int kindBefore;
    int position;
    const char* defaultExtension;
    int kindAfter;
  };
  const Case cases[] = {
      {"/w/F.TKD", 2100, 2, "TKD", 2100},  // an editor holding a form deck stays an editor
      {"/w/M.FOR", 1000, 4, "FOR", 7000},  {"/w/V.dek", 7000, 3, "DEK", 1000},
      {"/w/N.TXT", 1000, 10, "TXT", 7000}, {"/w/P.DCK", 4000, 1, "DCK", 4000},  // only editors change
      {"/w/T.TBL", 5000, 8, "TBL", 5000},  {"/w/NOTES", 7000, 10, "", 7000},  // no extension: all files
      {"/w/A.BMP", 8000, 6, "BMP", 8000},  {"/w/F.TKX", 2000, 9, "", 2000},
      {"/w/RUN.LOG", 7000, 10, "", 7000},  {"*.SPF", 4000, 5, "SPF", 4000},
  };
  for (const auto& c : cases) {
    FileDialogState dialog = InitialSaveDialog();
    dialog.position = 5;
    dialog.defaultExtension = "SPF";
    EXPECT_EQ(static_cast<int>(PrepareSaveAsDialog(dialog, c.proposed, static_cast<KindCode>(c.kindBefore))),
              c.kindAfter)
        << c.proposed;
    EXPECT_EQ(dialog.position, c.position) << c.proposed;
    EXPECT_EQ(dialog.defaultExtension, c.defaultExtension) << c.proposed;
    EXPECT_EQ(dialog.fileName, c.proposed);
  }
}

TEST(OpenSaveRules, SaveAsProposesTheWindowsOwnFile) {
  EXPECT_EQ(SaveAsProposal(KindCode::Plot, "", "/w/v1.2/HOUSE.PLT"), "/w/v1.2/HOUSE.SPF");  // never the data file
  EXPECT_EQ(SaveAsProposal(KindCode::Plot, "/w/ONE.SPF", "/w/HOUSE.PLT"), "/w/ONE.SPF");
  EXPECT_EQ(SaveAsProposal(KindCode::Plot, "", ""), "*.SPF");
  EXPECT_EQ(SaveAsProposal(KindCode::Table, "/w/T.DAT", ""), "/w/T.TBL");
  EXPECT_EQ(SaveAsProposal(KindCode::Listing, "/w/HOUSE.LST", ""), "");
}

TEST(OpenSaveRules, TableIsSavedUnderATblName) {
  EXPECT_EQ(TableSaveName("T.DAT"), "T.TBL");
  EXPECT_EQ(TableSaveName("/w/T.TBL"), "/w/T.TBL");
  EXPECT_EQ(TableSaveName("/w/T.tbl"), "/w/T.tbl");
  EXPECT_EQ(TableSaveName("/w/T.A.B"), "/w/T.TBL");
  EXPECT_EQ(TableSaveName("/w/T"), "/w/T.TBL");
  EXPECT_EQ(TableSaveName("/w/v1.2/T.DAT"), "/w/v1.2/T.TBL");
}

