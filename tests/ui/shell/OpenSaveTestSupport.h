#pragma once
// A main window that records the makers of windows built elsewhere (forms, plots, tables,
// index dialogs), and child windows that save, for the opening and saving commands' tests.
#include "ShellTestSupport.h"
#include "support/Messages.h"

namespace taltest {

class OpenSaveFrame : public tal::TTALSHELLFORM {
 public:
  tal::TChildForm* NewFormWindow(const std::string& name) override {
    calls.push_back("form " + name);
    return tal::TTALSHELLFORM::NewFormWindow(name);
  }
  tal::TChildForm* NewPlotWindow(const std::string& name) override {
    calls.push_back("plot " + name);
    return tal::TTALSHELLFORM::NewPlotWindow(name);
  }
  tal::TChildForm* NewTableWindow(const std::string& name) override {
    calls.push_back("table " + name);
    return tal::TTALSHELLFORM::NewTableWindow(name);
  }
  tal::TChildForm* NewDiagramWindow(const std::string& name, bool fit) override {
    calls.push_back("diagram " + name + (fit ? " fitted" : ""));
    return tal::TTALSHELLFORM::NewDiagramWindow(name, fit);
  }
  void ShowIndexDialog(const std::string& name) override { calls.push_back("index " + name); }
  std::vector<std::string> calls;
};

// A window holding a document: records where it was saved, can fail to write, and (as a form)
// can refuse the field being edited.
class DocumentChild : public TestChild {
 public:
  using TestChild::TestChild;
  bool saveDocument(const std::string& name) override {
    saves.push_back(name);
    if (failWrite) {
      tal::ShowMessageKind("Could not write " + name, tal::ErrorOk, true);
      return false;
    }
    setFileName(name);
    setCaption(name);
    return true;
  }
  bool commitInput() override { return inputValid; }
  std::vector<std::string> saves;
  bool failWrite = false;
  bool inputValid = true;
};

class OpenSaveTest : public ShellTest {
 protected:
  OpenSaveFrame& makeOpenSaveFrame(bool talkit = false) {
    useMode(talkit);
    frame = std::make_unique<OpenSaveFrame>();
    return static_cast<OpenSaveFrame&>(*frame);
  }
  OpenSaveFrame& recorder() { return static_cast<OpenSaveFrame&>(*frame); }
  DocumentChild* addDocument(tal::KindCode kind, const std::string& fileName = "") {
    auto* child = new DocumentChild(frame.get(), kind, fileName);
    frame->AddChild(child);
    return child;
  }
  // Kinds of the open child windows, front first.
  std::vector<int> kinds() const {
    std::vector<int> result;
    for (tal::TChildForm* child : frame->children()) result.push_back(child->kindCode());
    return result;
  }
  std::string text(tal::MenuItem item) const { return frame->action(item)->text().toStdString(); }
  std::vector<std::string> outputItems() const {
    std::vector<std::string> items;
    for (const QString& caption : Captions(frame->outputMenu())) items.push_back(caption.toStdString());
    return items;
  }
};

}  // namespace taltest
