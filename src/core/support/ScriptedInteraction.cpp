#include "support/ScriptedInteraction.h"

namespace tal {

ScriptedInteraction::ScriptedInteraction() : previous_(setInteraction(this)) {}

ScriptedInteraction::~ScriptedInteraction() { setInteraction(previous_); }

ScriptedInteraction& ScriptedInteraction::answer(Button button) {
  answers_.push_back({Answer::Type::Button, button, {}, 0});
  return *this;
}

ScriptedInteraction& ScriptedInteraction::answerText(const std::string& text, int filterIndex) {
  answers_.push_back({Answer::Type::Text, Button::None, text, filterIndex});
  return *this;
}

ScriptedInteraction& ScriptedInteraction::answerCancel() {
  answers_.push_back({Answer::Type::Cancel, Button::Cancel, {}, 0});
  return *this;
}

std::vector<std::string> ScriptedInteraction::messages() const {
  std::vector<std::string> texts;
  for (const auto& p : prompts_)
    if (p.type == Prompt::Type::Message) texts.push_back(p.text);
  return texts;
}

void ScriptedInteraction::clear() {
  answers_.clear();
  prompts_.clear();
  beeps_ = unanswered_ = 0;
}

std::optional<ScriptedInteraction::Answer> ScriptedInteraction::next() {
  if (answers_.empty()) {
    ++unanswered_;
    return std::nullopt;
  }
  Answer a = answers_.front();
  answers_.pop_front();
  return a;
}

Button ScriptedInteraction::message(const std::string& text, int kind) {
  prompts_.push_back({Prompt::Type::Message, text, kind, {}});
  auto buttons = ButtonsOfKind(kind);
  if (buttons.empty()) return Button::None;
  auto a = next();
  if (!a) return buttons.front();
  if (a->type == Answer::Type::Cancel) return Button::Cancel;
  return a->button;
}

Button ScriptedInteraction::messageWithLook(const std::string& text, int kind, const MessageLook& look) {
  Button pressed = message(text, kind);
  prompts_.back().look = look;
  return pressed;
}

std::optional<FileChoice> ScriptedInteraction::fileAnswer() {
  auto a = next();
  if (!a || a->type != Answer::Type::Text) return std::nullopt;
  return FileChoice{a->text, a->filterIndex};
}

std::optional<FileChoice> ScriptedInteraction::openFile(const FileDialogRequest& request) {
  prompts_.push_back({Prompt::Type::OpenFile, request.title, -1, request});
  return fileAnswer();
}

std::optional<FileChoice> ScriptedInteraction::saveFile(const FileDialogRequest& request) {
  prompts_.push_back({Prompt::Type::SaveFile, request.title, -1, request});
  return fileAnswer();
}

std::optional<std::string> ScriptedInteraction::chooseFolder(const std::string& title, const std::string& start) {
  prompts_.push_back({Prompt::Type::Folder, title, -1, {title, start, {}, {}, 0, {}}});
  auto a = next();
  if (!a || a->type != Answer::Type::Text) return std::nullopt;
  return a->text;
}

std::optional<std::string> ScriptedInteraction::inputText(const std::string& title, const std::string& prompt,
                                                          const std::string& initial) {
  prompts_.push_back({Prompt::Type::Input, prompt, -1, {title, {}, initial, {}, 0, {}}});
  auto a = next();
  if (!a || a->type != Answer::Type::Text) return std::nullopt;
  return a->text;
}

}  // namespace tal
