#include "CharsetTestSupport.h"

#include <iconv.h>

std::string IconvTo(const char* to, const std::string& text, const char* from) {
    iconv_t cd = iconv_open(to, from);
    if (cd == reinterpret_cast<iconv_t>(-1))
        return std::string("<no converter from ") + from + ">";
    std::string in = text;
    std::string out(in.size() * 8 + 16, '\0');
    char* inPtr = in.data();
    size_t inLeft = in.size();
    char* outPtr = out.data();
    size_t outLeft = out.size();
    bool ok = iconv(cd, &inPtr, &inLeft, &outPtr, &outLeft) != static_cast<size_t>(-1) &&
              iconv(cd, nullptr, nullptr, &outPtr, &outLeft) != static_cast<size_t>(-1);
    iconv_close(cd);
    if (!ok)
        return std::string("<not ") + from + ">";
    out.resize(out.size() - outLeft);
    return out;
}
