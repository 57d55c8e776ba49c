#pragma once
#include <ostream>
#include <string>

#include "support/Interaction.h"

namespace tal::batch {

// Installed while a batch command runs: every message goes to standard error (counted), questions
// take their default answer and choosers are cancelled, since nobody is there to answer.
class StreamInteraction final : public DefaultAnswers {
 public:
  explicit StreamInteraction(std::ostream& err) : err_(err), previous_(setInteraction(this)) {}
  ~StreamInteraction() override { setInteraction(previous_); }
  StreamInteraction(const StreamInteraction&) = delete;
  StreamInteraction& operator=(const StreamInteraction&) = delete;

  int messages() const { return messages_; }

  Button message(const std::string& text, int kind) override {
    ++messages_;
    err_ << text << "\n";
    return DefaultAnswers::message(text, kind);
  }

 private:
  std::ostream& err_;
  Interaction* previous_;
  int messages_ = 0;
};

}  // namespace tal::batch
