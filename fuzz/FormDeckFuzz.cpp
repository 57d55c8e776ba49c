// Form decks: any bytes are read as a form deck, plain (".TKD") or encoded (".TKX"), chosen by the
// first byte; an encoded deck is either the bytes as stored or the bytes encoded line by line, so
// that plain seeds reach the encoded reader's whole grammar. A form that was read is laid out,
// its units are switched, and it is written back and read again: it must read back complete with
// the same items.
#include <vector>

#include "FuzzSupport.h"
#include "forms/AnnotationLine.h"
#include "forms/DeckReader.h"
#include "forms/DeckWriter.h"
#include "forms/FormLayout.h"
#include "support/Files.h"
#include "support/ScriptedInteraction.h"

using namespace tal;

namespace {

// Measures of fixed fonts: the layout's arithmetic without a font system.
class FixedMetrics : public FormMetrics {
 public:
  int GetHeight(const FontSlot& font) const override { return font.size + 6; }
  int TextWidth(const FontSlot& font, std::string_view text) const override {
    return static_cast<int>(text.size()) * (font.size * 6 / 10);
  }
  int PixelHeight(const FontSlot& font) const override { return (font.size * 96 + 36) / 72; }
  LayoutSize PictureSize(const PictureData& picture) const override {
    return picture.isCaption ? CaptionPictureSize(*this, picture.caption) : LayoutSize{120, 60};
  }
};

// Files a deck may name: a list data file and a file for file fields.
void WriteNamedFiles() {
  static bool written = false;
  if (written) return;
  talfuzz::WriteScratch("LIST.DAT", "3\n1,One,1.5\n2,Two,2.5\n3,Three,3.5\n");
  talfuzz::WriteScratch("DATA.TXT", "data\n");
  written = true;
}

std::vector<FormItemKind> KindsOf(const FormModel& form) {
  std::vector<FormItemKind> kinds;
  for (const FormItem& item : form.items) kinds.push_back(item.kind);
  return kinds;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 1) return 0;
  WriteNamedFiles();
  int mode = data[0] % 3;  // 0 plain, 1 encoded as given, 2 plain bytes stored encoded
  std::string_view bytes = talfuzz::Bytes(data + 1, size - 1);
  std::string stored(bytes);
  if (mode == 2) {
    stored.clear();
    for (const std::string& line : SplitLines(bytes)) stored += EncodeLine(line) + "\n";
  }
  const char* extension = mode == 0 ? ".TKD" : ".TKX";
  std::string deck = talfuzz::WriteScratch(std::string("FORM") + extension, stored);

  ScriptedInteraction answers;  // every message is recorded and answered with its default
  ReadResult read = ReadDeck(deck);
  if (read.outcome != ReadOutcome::Complete) return 0;
  FixedMetrics metrics;
  FormLayout layout = FormLayout::Build(read.form, metrics, true);
  for (std::size_t i = 0; i < read.form.items.size(); ++i) layout.ShiftOf(read.form, i);
  layout.Extent(read.form);

  ConvertUnits(read.form, UnitSystem::Primary, UnitSystem::Secondary);
  ConvertUnits(read.form, UnitSystem::Secondary, UnitSystem::Primary);
  std::vector<FormItemKind> kinds = KindsOf(read.form);
  std::string copy = talfuzz::ScratchFile(std::string("COPY") + extension);
  if (!WriteDeck(read.form, copy)) return 0;  // a line that cannot be stored encoded is refused with a message
  ReadResult again = ReadDeck(copy);
  if (again.outcome != ReadOutcome::Complete) talfuzz::Fail("the written deck does not read back complete");
  if (KindsOf(again.form) != kinds) talfuzz::Fail("the written deck reads back with other items");
  return 0;
}
