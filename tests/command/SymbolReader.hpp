#pragma once

// Test helper: renders a module matrix to a PGM image and reads it back with zxing-cpp's
// ZXingReader (Debian package zxing-cpp-tools), returning the decoded bytes.

#include <sys/stat.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace SymbolReader {

inline std::string findExecutable(const std::string& name) {
    const char* path = std::getenv("PATH");
    std::string paths = path != nullptr ? path : "/usr/bin:/bin";
    size_t start = 0;
    while (start <= paths.size()) {
        size_t end = paths.find(':', start);
        if (end == std::string::npos) end = paths.size();
        std::string candidate = paths.substr(start, end - start) + "/" + name;
        if (::access(candidate.c_str(), X_OK) == 0) return candidate;
        start = end + 1;
    }
    return {};
}

inline std::string zxingReader() {
    static const std::string reader = findExecutable("ZXingReader");
    return reader;
}

inline std::string imagePath(const std::string& name) {
    std::string dir = std::string(PRELIX10_BINARY_DIR) + "/symbol_images";
    ::mkdir(dir.c_str(), 0755);
    return dir + "/" + name + ".pgm";
}

// Writes a binary PGM: 'quiet' light modules around the symbol, 'scale' pixels per module (x and y
// scaled separately so PDF417 rows can be taller than wide).
inline bool writePgm(const std::string& path, int width, int height, const std::function<bool(int, int)>& dark,
                     int scaleX, int scaleY, int quiet) {
    const int w = (width + 2 * quiet) * scaleX;
    const int h = (height + 2 * quiet) * scaleY;
    FILE* f = std::fopen(path.c_str(), "wb");
    if (f == nullptr) return false;
    std::fprintf(f, "P5\n%d %d\n255\n", w, h);
    std::vector<unsigned char> row(static_cast<size_t>(w));
    for (int y = 0; y < h; ++y) {
        int r = y / scaleY - quiet;
        for (int x = 0; x < w; ++x) {
            int c = x / scaleX - quiet;
            bool on = r >= 0 && r < height && c >= 0 && c < width && dark(r, c);
            row[static_cast<size_t>(x)] = on ? 0 : 255;
        }
        std::fwrite(row.data(), 1, row.size(), f);
    }
    std::fclose(f);
    return true;
}

// The decoded bytes, or nullopt when nothing was read. 'error' explains a missing reader.
inline std::optional<std::string> decode(const std::string& path, const std::string& format, std::string& error) {
    const std::string reader = zxingReader();
    if (reader.empty()) {
        error = "zxing-cpp's ZXingReader is not installed (package zxing-cpp-tools; scripts/setup installs it)";
        return std::nullopt;
    }
    std::string command = reader + " -bytes -format " + format + " '" + path + "' 2>/dev/null";
    FILE* p = ::popen(command.c_str(), "r");
    if (p == nullptr) {
        error = "cannot run " + reader;
        return std::nullopt;
    }
    std::string out;
    char buffer[4096];
    size_t n;
    while ((n = std::fread(buffer, 1, sizeof buffer, p)) > 0) out.append(buffer, n);
    ::pclose(p);
    if (out.empty()) return std::nullopt;
    return out;
}

inline std::string hex(const std::string& bytes) {
    static const char* digits = "0123456789ABCDEF";
    std::string s;
    for (unsigned char b : bytes) {
        if (!s.empty()) s += ' ';
        s += digits[b >> 4];
        s += digits[b & 15];
    }
    return s;
}

}  // namespace SymbolReader
