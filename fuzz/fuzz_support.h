#pragma once
// What the fuzz programs share: the core reads files by name, so each input is
// written to a scratch file first, in a folder of this process's own (on a
// memory file system when there is one) that is removed when the program ends.
#include <cstddef>
#include <cstdint>
#include <string>

namespace kalvor::fuzz {

// This process's scratch folder, made on first use.
const std::string& ScratchFolder();

// name inside the scratch folder, holding exactly the given bytes.
std::string WriteScratch(const std::string& name, const std::uint8_t* data, std::size_t size);

// The whole file, or empty when it cannot be read.
std::string ReadWhole(const std::string& path);

// Ends the run with a report the fuzzer records as a crash, when ok is false.
void Require(bool ok, const char* what);

// Reads the fuzz input from the front: small numbers, then the rest.
class InputCursor {
   public:
    InputCursor(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}
    bool Empty() const { return at_ >= size_; }
    std::uint8_t Byte();              // 0 past the end
    std::uint32_t Number(int bytes);  // big-endian, 1..4 bytes
    // The next count bytes (fewer at the end).
    std::string Take(std::size_t count);
    const std::uint8_t* Rest() const { return data_ + at_; }
    std::size_t RestSize() const { return size_ - at_; }

   private:
    const std::uint8_t* data_;
    std::size_t size_;
    std::size_t at_ = 0;
};

}  // namespace kalvor::fuzz
