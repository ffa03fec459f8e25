#include "platform/Platform.h"

#include <chrono>
#include <filesystem>

namespace tavrolin {

namespace fs = std::filesystem;

long DaysBetween(const Date& from, const Date& to) {
    using namespace std::chrono;
    auto days = [](const Date& d) {
        // Month overflow carries into years, day overflow into following days.
        const int months = d.month - 1;
        const int y = d.year + (months >= 0 ? months / 12 : (months - 11) / 12);
        const int m = ((months % 12) + 12) % 12 + 1;
        const sys_days first = year{y} / month{static_cast<unsigned>(m)} / 1;
        return first + std::chrono::days{d.day - 1};
    };
    return static_cast<long>((days(to) - days(from)).count());
}

char Platform::PathSeparator() const { return static_cast<char>(fs::path::preferred_separator); }

std::string Platform::Join(const std::string& folder, const std::string& name) const {
    if (folder.empty()) return name;
    const char sep = PathSeparator();
    if (folder.back() == sep || folder.back() == '/') return folder + name;
    return folder + sep + name;
}

Platform::~Platform() { ReleaseAllLocks(); }

bool Platform::SetClipboardText(const std::string& /*text*/) { return false; }

char Platform::DecimalSeparator() { return '.'; }

std::string Platform::AskSavePath(const std::string& /*title*/, const std::string& /*suggested*/,
                                  const std::string& /*filterName*/,
                                  const std::string& /*extension*/) {
    return {};
}

}  // namespace tavrolin
