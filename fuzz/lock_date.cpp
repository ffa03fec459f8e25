// Any bytes as a lock file where the file system keeps no locks: judging its date never fails,
// a lock dated today always holds its name and anything else is taken over.
#include <cstddef>
#include <cstdint>
#include <string>

#include "FuzzCheck.h"
#include "app/Instance.h"
#include "platform/RecordingPlatform.h"

using namespace tavrolin;

namespace {

// The lock file's bytes come from the fuzzer; nothing touches the disk.
class LockPlatform : public RecordingPlatform {
public:
    std::string content;
    bool written = false;
    std::optional<std::string> ReadFile(const std::string&, std::size_t maxBytes) override {
        return content.substr(0, maxBytes);
    }
    LockResult TakeLock(const std::string&, const std::string&) override {
        return {LockState::Unprobed, false};
    }
    LockResult TakeOverLock(const std::string&, const std::string& text) override {
        written = true;
        content = text;
        return {LockState::Taken, true};
    }
    void ReleaseLock(const std::string&, bool) override {}
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 2) return 0;
    LockPlatform platform;
    // The first two bytes move today around the calendar.
    platform.today = Date{1990 + data[0] % 80, 1 + data[1] % 12, 1 + (data[0] ^ data[1]) % 28};
    platform.content.assign(reinterpret_cast<const char*>(data + 2), size - 2);

    const bool stale = IsLockStale(platform, "Tavrolin.tmp", 6);
    const InstanceFiles files = ClaimInstance(platform, "folder", "");
    // A stale lock is taken over and written afresh; a live one keeps its name.
    FUZZ_CHECK(stale == (files.configBaseName == "Tavrolin"));
    FUZZ_CHECK(stale == platform.written);

    platform.content = LockFileContent(platform.today, "x");
    platform.written = false;
    FUZZ_CHECK(!IsLockStale(platform, "Tavrolin.tmp", 6));
    return 0;
}
