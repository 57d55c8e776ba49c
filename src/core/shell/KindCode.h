#pragma once
// The number every child window carries to say what it shows. The main window decides menus,
// saving, printing and the Windows entries by this code alone.

namespace tal {

enum class KindCode : int {
  None = 0,
  DeckEditor = 1000,   // a .DCK or .DEK deck, or a new document
  TalkitForm = 2000,   // form built from a .TKD/.TKX deck
  TalkitText = 2100,   // form deck opened as plain text ("Edit TALKIT file")
  Listing = 3000,      // listing viewer (.LST, also a .PLT shown as text)
  Plot = 4000,
  Table = 5000,
  Output = 6000,       // output file viewer (.O*)
  TextEditor = 7000,   // any other text file
  Diagram = 8000,
};

inline bool IsEditorKind(KindCode kind) {
  return kind == KindCode::DeckEditor || kind == KindCode::TalkitText || kind == KindCode::TextEditor;
}

inline bool IsViewerKind(KindCode kind) { return kind == KindCode::Listing || kind == KindCode::Output; }

}  // namespace tal
