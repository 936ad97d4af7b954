// The Format function: the input is a pattern and up to eight arguments, separated by zero
// bytes. Whatever the pattern, Format answers; whether it succeeds depends only on the
// pattern and the number of arguments, and arguments it does not use change nothing.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "Fuzz_Support.h"
#include "platform/Format.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    std::string_view input(reinterpret_cast<const char*>(data), size);
    const std::size_t zero = input.find('\0');
    const std::string_view pattern = input.substr(0, zero);
    std::vector<std::string> arguments;
    if (zero != std::string_view::npos)
    {
        input.remove_prefix(zero + 1);
        while (arguments.size() < 8)
        {
            const std::size_t end = input.find('\0');
            arguments.emplace_back(input.substr(0, end));
            if (end == std::string_view::npos) break;
            input.remove_prefix(end + 1);
        }
    }

    const std::optional<std::string> result = Format(pattern, arguments);
    ZL_FUZZ_CHECK(Format(pattern, arguments) == result);

    const std::vector<std::string> blank_arguments(arguments.size());
    ZL_FUZZ_CHECK(Format(pattern, blank_arguments).has_value() == result.has_value());

    if (pattern.find('%') == std::string_view::npos)
    {
        ZL_FUZZ_CHECK(result && *result == pattern);
    }
    if (!result) return 0;

    std::vector<std::string> more_arguments = arguments;
    more_arguments.emplace_back("unused");
    ZL_FUZZ_CHECK(Format(pattern, more_arguments) == result);

    return 0;
}
