// Any bytes as a lock file: judging its date never fails and never lets an error out, and a
// lock dated today always holds its name.
#include <cstddef>
#include <cstdint>
#include <stdexcept>
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
    int deleted = 0;
    std::optional<std::int64_t> ModificationTime(const std::string&) override { return 0; }
    std::optional<std::string> ReadFile(const std::string&, std::size_t maxBytes) override {
        return content.substr(0, maxBytes);
    }
    bool DeleteFile(const std::string&) override {
        ++deleted;
        return true;
    }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 2) return 0;
    LockPlatform platform;
    // The first two bytes move today around the calendar.
    platform.today = Date{1990 + data[0] % 80, 1 + data[1] % 12, 1 + (data[0] ^ data[1]) % 28};
    platform.content.assign(reinterpret_cast<const char*>(data + 2), size - 2);

    try {
        (void)IsLockStale(platform, "Tavrolin.tmp", 6);
    } catch (const std::exception&) {
        // An unreadable date is an error the caller turns into "absent".
    }
    const bool exists = FileExists(platform, "Tavrolin.tmp", true);
    // Only a lock judged stale is deleted, and it then counts as absent.
    FUZZ_CHECK(!(exists && platform.deleted > 0));

    platform.content = LockFileContent(platform.today, platform.content);
    platform.deleted = 0;
    FUZZ_CHECK(FileExists(platform, "Tavrolin.tmp", true));
    FUZZ_CHECK(!IsLockStale(platform, "Tavrolin.tmp", 6));
    return 0;
}
