// Any command line: the instance argument is at most four characters, upper case, and holds
// nothing that could lead the file names out of the program's folder.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "FuzzCheck.h"
#include "app/Instance.h"

using namespace tavrolin;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string line(reinterpret_cast<const char*>(data), size);
    const std::string arg = CleanArgument(line);
    FUZZ_CHECK(arg.size() <= 16);
    int characters = 0;
    for (unsigned char c : arg) {
        if ((c & 0xC0) != 0x80) ++characters;
        FUZZ_CHECK(c >= 0x20 && c != 0x7F);
        FUZZ_CHECK(std::string_view(" `~!@#$^&*\\|/?,.<>:\"").find(static_cast<char>(c)) ==
                   std::string_view::npos);
        FUZZ_CHECK(!(c >= '0' && c <= '9'));
        FUZZ_CHECK(!(c >= 'a' && c <= 'z'));
    }
    FUZZ_CHECK(characters <= 4);
    // Cleaning is idempotent: the file name a cleaned argument gives is stable.
    FUZZ_CHECK(CleanArgument(arg) == arg);
    return 0;
}
