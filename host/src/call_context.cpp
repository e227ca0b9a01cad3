// One call into a plug-in: recording its events and answering the platform.
#include "call_context.h"

#include <cstdio>

#include "terminal.h"
#include "text_codec.h"

namespace vfhost::detail {
namespace {

thread_local CallContext* gCurrentCall = nullptr;

constexpr unsigned kIconMask = 0xF0, kIconError = 0x10, kIconWarning = 0x30, kIconInformation = 0x40;
constexpr unsigned kButtonsMask = 0x0F;
constexpr int kIdOk = 1, kIdCancel = 2, kIdAbort = 3, kIdRetry = 4, kIdYes = 6;

// The default (first) button of each button set, as Enter presses it.
int DefaultAnswer(unsigned type) {
  switch (type & kButtonsMask) {
    case 2:
      return kIdAbort;  // abort, retry, ignore
    case 3:             // yes, no, cancel
    case 4:
      return kIdYes;  // yes, no
    case 5:
      return kIdRetry;  // retry, cancel
    case 6:
      return kIdCancel;  // cancel, try again, continue
    default:
      return kIdOk;
  }
}

}  // namespace

std::string MessageIconName(unsigned type) {
  switch (type & kIconMask) {
    case kIconError:
      return "error";
    case kIconInformation:
      return "information";
    case kIconWarning:
      return "warning";
    default:
      return "none";
  }
}

CallContext::CallContext(const RunOptions& options)
    : options_(options),
      progressBar_(std::make_unique<ProgressBar>(options.showProgressBar)),
      terminalKeys_(std::make_unique<TerminalKeys>(options.terminalEscape)),
      previous_(gCurrentCall) {
  gCurrentCall = this;
}

CallContext::~CallContext() {
  gCurrentCall = previous_;
}

CallContext* CurrentCall() {
  return gCurrentCall;
}

void CallContext::OnProgress(int32_t code, int64_t value) {
  Event event;
  event.type = Event::Type::Progress;
  event.code = code;
  event.value = value;
  events_.push_back(event);
  progressBar_->Update(code, value);
}

int CallContext::OnMessageBox(const std::string& textCp932, const std::string& captionCp932, unsigned type) {
  Event event;
  event.type = Event::Type::Message;
  event.caption = Cp932ToUtf8(captionCp932);
  event.text = Cp932ToUtf8(textCp932);
  event.icon = MessageIconName(type);
  events_.push_back(event);
  if (options_.echoMessages) {
    progressBar_->Clear();
    std::fprintf(stderr, "[%s] %s: %s\n", event.icon.c_str(), event.caption.c_str(), event.text.c_str());
  }
  return DefaultAnswer(type);
}

bool CallContext::OnEscapePoll() {
  ++escPolls_;
  const bool pinnedPress = options_.escFromPoll && escPolls_ >= *options_.escFromPoll;
  const bool typed = terminalKeys_->EscapeTyped();
  return pinnedPress || typed;
}

void CallContext::OnDialogEnded(const std::string& templateName, int64_t result) {
  Event event;
  event.type = Event::Type::Dialog;
  event.templateName = templateName;
  event.value = result;
  events_.push_back(event);
}

}  // namespace vfhost::detail
