// The exception box on arbitrary messages. Registry errors quote value names, so any byte can
// end up in a message; the box text is the message with a period added unless it is empty or
// already ends in a byte up to 0x2E ("." and below), the caption is the application's title,
// and the box has OK and the stop icon.
#include <cstddef>
#include <cstdint>
#include <string>

#include "fuzz/FuzzCheck.h"
#include "platform/Application.h"
#include "platform/Error.h"
#include "platform/memory/MemoryApplication.h"

namespace {

using fuzzcheck::Escaped;

std::string ReferenceText(const std::string& message) {
  const bool period = !message.empty() && static_cast<unsigned char>(message.back()) > 0x2E;
  return period ? message + "." : message;
}

void CheckBox(const platform::MemoryApplication& app, std::size_t count, const std::string& expected) {
  FUZZ_CHECK(app.boxes.size() == count);
  const platform::MemoryApplication::Box& box = app.boxes.back();
  FUZZ_CHECK_MSG(box.text == expected, Escaped(box.text) + " instead of " + Escaped(expected));
  FUZZ_CHECK(box.caption == app.Title());
  FUZZ_CHECK(box.flags == (platform::kMbOk | platform::kMbIconStop));
  FUZZ_CHECK(box.flags == 0x10);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string message(reinterpret_cast<const char*>(data), size);

  const std::string text = platform::ExceptionText(message);
  FUZZ_CHECK_MSG(text == ReferenceText(message), Escaped(message));
  FUZZ_CHECK(text == message || text == message + ".");

  platform::MemoryApplication app;
  app.SetTitle("Pelaroグループポリシー");

  // An exception carries its message as a C string (what()), so the box shows it up to the
  // first zero byte; with no zero byte, that is the whole message.
  const std::string shown = ReferenceText(message.substr(0, message.find('\0')));
  app.ShowException(platform::Error(message));
  CheckBox(app, 1, shown);

  // Registry errors and errors raised inside a command are shown the same way.
  app.ShowException(platform::RegistryError(message));
  CheckBox(app, 2, shown);
  app.Dispatch([&message] { throw platform::Error(message); });
  CheckBox(app, 3, shown);

  // Abort ends a command silently.
  app.ShowException(platform::Abort());
  app.Dispatch([] { throw platform::Abort(); });
  FUZZ_CHECK(app.boxes.size() == 3);
  return 0;
}
