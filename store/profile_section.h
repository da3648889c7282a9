// One section of a private-profile (".ini") file, read in one call as the
// platform's GetPrivateProfileSectionA hands it over, and looked up key by key
// as GetPrivateProfileStringA and GetPrivateProfileIntA would look it up in the
// file: one platform call per section instead of one per key. Plain C++.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

class ProfileSection {
public:
    ProfileSection() = default;
    // `block`: lines "key=value" (or a bare key) each ended by a NUL, `size` bytes in all.
    ProfileSection(const char* block, size_t size);

    // The value of the first line whose key is `key` (letters in either case),
    // or `fallback` when no line has the key or the first that has it has no
    // "="; as read into a buffer of `capacity` characters: one pair of
    // matching quotes (" or ') around it removed, at most capacity - 1 kept.
    std::string String(const char* key, const std::string& fallback, size_t capacity) const;

    // That value read as GetPrivateProfileIntA reads it: into 30 characters,
    // then blanks and control characters skipped, an optional sign, an
    // optional "0x", "0o" or "0b" for base 16, 8 or 2, and digits of the base
    // up to the first other character, wrapping modulo 2^32; `fallback` when
    // the value is missing or empty.
    int32_t Int(const char* key, int32_t fallback) const;

    // The same lines: keys (letter case included), "=" and values, in the same order.
    bool SameLines(const ProfileSection& other) const;

private:
    struct Line {
        std::string key;
        std::string value;
        bool hasValue;
    };
    const Line* Find(const char* key) const;
    std::vector<Line> lines_;
};
