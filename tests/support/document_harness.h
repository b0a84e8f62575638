#pragma once
// Helpers for the document's tests: a sink that records what the document
// says, byte-built streams whose frames can be told apart, a walk over the
// frames of a file, and a small disk to fill up.
#include <cstdint>
#include <string>
#include <vector>

#include "document/document_sink.h"
#include "support/test_support.h"

namespace kalvor::test {

class RecordingSink : public DocumentSink {
   public:
    void Message(const std::string& text) override { Messages.push_back(text); }
    void Busy(bool on) override { (on ? BusyOn : BusyOff)++; }
    void DocumentReset() override { ++Resets; }
    void DocumentLoaded(LoadReason reason) override { Loads.push_back(reason); }
    void SelectionChanged() override { ++SelectionChanges; }

    std::string Last() const { return Messages.empty() ? std::string() : Messages.back(); }
    void Clear() { *this = RecordingSink(); }

    std::vector<std::string> Messages;
    int BusyOn = 0;
    int BusyOff = 0;
    int Resets = 0;
    std::vector<LoadReason> Loads;
    int SelectionChanges = 0;
};

// Frames of MPEG-1 Layer III, 128 kbit/s, 44.1 kHz, joint stereo, 417 bytes
// each, no padding; frame n is filled with a byte made from n (never 0xFF), so
// every frame can be recognised in a written file.
inline constexpr int kNumberedFrameBytes = 417;
Bytes NumberedFrames(int first, int count);
// The 1-based byte position of frame n in a file of NumberedFrames(0, …).
inline std::int32_t FrameStart(int n) {
    return 1 + n * kNumberedFrameBytes;
}
// The numbers of the frames of a file made of numbered frames, in order; -1
// for a piece that is not one whole numbered frame.
std::vector<int> FrameNumbers(const Bytes& file);
// first, first + 1, … last - 1.
std::vector<int> Range(int first, int last);
std::vector<int> operator+(std::vector<int> a, const std::vector<int>& b);

// The frames of an MPEG audio file (a Xing/Info frame included), after a
// leading ID3v2 tag: walks the headers by the ISO frame lengths and stops at
// bytes that are no frame header (a trailing tag, garbage).
std::vector<Bytes> SplitFrames(const Bytes& file);

// A tmpfs of the given size mounted on a fresh folder (needs root). Ok() is
// false when it cannot be mounted; tests then skip.
class SmallDisk {
   public:
    explicit SmallDisk(int kilobytes);
    ~SmallDisk();
    SmallDisk(const SmallDisk&) = delete;
    SmallDisk& operator=(const SmallDisk&) = delete;
    bool Ok() const { return mounted_; }
    std::string file(const std::string& name) const { return dir_.file(name); }
    std::string Folder() const { return dir_.path().string(); }
    // Makes the mount read-only (files on it stay readable).
    bool MakeReadOnly();

   private:
    TempDir dir_;
    bool mounted_ = false;
};

}  // namespace kalvor::test
