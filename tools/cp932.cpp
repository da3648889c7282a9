// Converts a UTF-8 text file to code page 932 (Shift-JIS), the encoding the
// resource compiler reads the resource script in. Usage: cp932 INPUT OUTPUT
//
// The script is kept in UTF-8 so that it stays readable; the build hands this
// tool's output to the resource compiler. The conversion is strict: invalid
// UTF-8, a character that code page 932 lacks, or one that only maps to a
// look-alike (a yen sign would come back as a backslash) stops the build with
// the line number. A character whose second byte is 0x5C, such as "ソ" or "表",
// is refused as well: the resource compiler would take that byte for the
// backslash of an escape sequence. A leading UTF-8 byte order mark is dropped.
#include <cerrno>
#include <cstdio>
#include <string>
#include <vector>

#ifdef _WIN32
#include <windows.h>
#else
#include <iconv.h>
#endif

namespace {

constexpr int kCodePage = 932;

#ifdef _WIN32

bool Convert(const std::string& in, int from, int to, std::string& out)
{
    out.clear();
    if (in.empty())
        return true;
    const DWORD strict_in = from == CP_UTF8 ? MB_ERR_INVALID_CHARS : 0;
    const int inLength = static_cast<int>(in.size());
    const int wideLength = MultiByteToWideChar(static_cast<UINT>(from), strict_in, in.data(), inLength, nullptr, 0);
    if (wideLength <= 0)
        return false;
    std::wstring wide(static_cast<size_t>(wideLength), L'\0');
    MultiByteToWideChar(static_cast<UINT>(from), strict_in, in.data(), inLength, &wide[0], wideLength);
    BOOL usedDefault = FALSE;
    const DWORD flags = to == CP_UTF8 ? 0 : WC_NO_BEST_FIT_CHARS;
    BOOL* const usedDefaultPtr = to == CP_UTF8 ? nullptr : &usedDefault;
    const int outLength =
        WideCharToMultiByte(static_cast<UINT>(to), flags, wide.data(), wideLength, nullptr, 0, nullptr, usedDefaultPtr);
    if (outLength <= 0 || usedDefault)
        return false;
    out.assign(static_cast<size_t>(outLength), '\0');
    WideCharToMultiByte(static_cast<UINT>(to), flags, wide.data(), wideLength, &out[0], outLength, nullptr, nullptr);
    return true;
}

bool ToCp932(const std::string& utf8, std::string& out) { return Convert(utf8, CP_UTF8, kCodePage, out); }
bool FromCp932(const std::string& sjis, std::string& out) { return Convert(sjis, kCodePage, CP_UTF8, out); }

#else

bool Convert(const std::string& in, const char* from, const char* to, std::string& out)
{
    out.clear();
    iconv_t cd = iconv_open(to, from);
    if (cd == reinterpret_cast<iconv_t>(-1)) {
        std::fprintf(stderr, "cp932: this system cannot convert from %s to %s\n", from, to);
        return false;
    }
    std::vector<char> source(in.begin(), in.end());
    char* inPtr = source.data();
    size_t inLeft = source.size();
    bool ok = true;
    while (inLeft > 0) {
        char buffer[256];
        char* outPtr = buffer;
        size_t outLeft = sizeof buffer;
        const size_t result = iconv(cd, &inPtr, &inLeft, &outPtr, &outLeft);
        out.append(buffer, static_cast<size_t>(outPtr - buffer));
        if (result == static_cast<size_t>(-1) && errno != E2BIG) {
            ok = false;  // EILSEQ: invalid or unconvertible; EINVAL: cut short
            break;
        }
        if (result != static_cast<size_t>(-1) && result > 0) {
            ok = false;  // characters replaced by an inexact stand-in
            break;
        }
    }
    iconv_close(cd);
    return ok;
}

bool ToCp932(const std::string& utf8, std::string& out) { return Convert(utf8, "UTF-8", "CP932", out); }
bool FromCp932(const std::string& sjis, std::string& out) { return Convert(sjis, "CP932", "UTF-8", out); }

#endif

bool IsLeadByte(unsigned char c) { return (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC); }

// The offset of the first double-byte character whose second byte is a
// backslash, or npos.
size_t FindBackslashTrail(const std::string& sjis)
{
    for (size_t i = 0; i < sjis.size(); ++i) {
        if (!IsLeadByte(static_cast<unsigned char>(sjis[i])))
            continue;
        if (i + 1 < sjis.size() && sjis[i + 1] == '\\')
            return i;
        ++i;
    }
    return std::string::npos;
}

bool ReadBytes(const char* path, std::string& bytes)
{
    std::FILE* in = std::fopen(path, "rb");
    if (!in)
        return false;
    char buffer[4096];
    size_t n;
    while ((n = std::fread(buffer, 1, sizeof buffer, in)) > 0)
        bytes.append(buffer, n);
    const bool ok = !std::ferror(in);
    std::fclose(in);
    return ok;
}

bool WriteBytes(const char* path, const std::string& bytes)
{
    std::FILE* out = std::fopen(path, "wb");
    if (!out)
        return false;
    const bool written = std::fwrite(bytes.data(), 1, bytes.size(), out) == bytes.size();
    return std::fclose(out) == 0 && written;
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc != 3) {
        std::fprintf(stderr, "usage: cp932 INPUT OUTPUT\n");
        return 2;
    }
    const char* inputPath = argv[1];
    const char* outputPath = argv[2];
    std::remove(outputPath);  // no stale output is left behind when this run fails

    std::string input;
    if (!ReadBytes(inputPath, input)) {
        std::fprintf(stderr, "cp932: cannot read %s\n", inputPath);
        return 1;
    }
    if (input.compare(0, 3, "\xEF\xBB\xBF") == 0)
        input.erase(0, 3);

    // Line by line, so that a failure can name its line.
    std::string output;
    size_t start = 0;
    for (int line = 1; start < input.size(); ++line) {
        size_t end = input.find('\n', start);
        end = end == std::string::npos ? input.size() : end + 1;
        const std::string text = input.substr(start, end - start);
        start = end;

        std::string sjis, back;
        if (!ToCp932(text, sjis) || !FromCp932(sjis, back) || back != text) {
            std::fprintf(stderr, "%s:%d: error: not valid UTF-8, or a character code page 932 cannot hold exactly\n",
                         inputPath, line);
            return 1;
        }
        const size_t at = FindBackslashTrail(sjis);
        if (at != std::string::npos) {
            std::fprintf(stderr,
                         "%s:%d: error: a character here ends in byte 0x5C in code page 932, which the resource "
                         "compiler reads as a backslash; use another word\n",
                         inputPath, line);
            return 1;
        }
        output += sjis;
    }

    if (!WriteBytes(outputPath, output)) {
        std::remove(outputPath);
        std::fprintf(stderr, "cp932: cannot write %s\n", outputPath);
        return 1;
    }
    return 0;
}
