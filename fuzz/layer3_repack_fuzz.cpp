// The Layer III side-information reader and the repacking writer. The reader
// never reaches past the bytes it is given. An output repacked from any file
// writes without a memory fault, and finishing it a second time changes no
// byte. When the source's frames follow each other without junk, the output
// analyses too (junk is copied as it stands, and may hide the output's frames
// as it hid the source's), unless it is a header frame alone, which every
// caller writes as nothing; and every range starts on a frame of the output,
// where the writer says it put it.
//
// The input: a byte of choices (edited version or piece, how many ranges), two
// bytes per range for where it starts and ends in the file, then the file.
#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

#include "fuzz_support.h"
#include "mpeg/audio_bound.h"
#include "mpeg/finish_file.h"
#include "mpeg/frame_walker.h"
#include "mpeg/stream_analysis.h"
#include "repack/frame_output.h"
#include "repack/side_info.h"

namespace {

using kalvor::fuzz::Require;

void CheckSideInfo(const std::uint8_t* data, std::size_t size) {
    const std::size_t end = std::min<std::size_t>(size, 4096);
    for (std::size_t at = 0; at + 4 <= end; ++at) {
        if (data[at] != 0xFF || (data[at + 1] & 0xE0) != 0xE0) continue;
        const std::size_t count = std::min<std::size_t>(end - at, 40);
        const auto side = kalvor::ReadSideInfo(data + at, count);
        if (!side) continue;
        Require(static_cast<std::size_t>(side->AreaOffset()) <= count, "side information lies in the bytes given");
        Require(side->MainDataBegin >= 0 && side->MainDataBits() >= 0, "side information fields are not negative");
    }
}

// A place in the file's audio, as a fraction 0..65535 of its length.
std::int32_t Place(const kalvor::StreamInfo& info, std::uint32_t fraction) {
    const std::int64_t length = info.AudioLength;
    return static_cast<std::int32_t>(info.FirstFramePos + length * fraction / 65536);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    kalvor::fuzz::InputCursor in(data, size);
    const std::uint8_t choices = in.Byte();
    const int rangeCount = 1 + (choices >> 1) % 3;
    std::uint32_t places[6] = {};
    for (int i = 0; i < 2 * rangeCount; ++i) places[i] = in.Number(2);
    CheckSideInfo(in.Rest(), in.RestSize());

    const std::string source = kalvor::fuzz::WriteScratch("source.mp3", in.Rest(), in.RestSize());
    kalvor::StreamInfo info;
    if (!kalvor::AnalyzeAudio(source, info, kalvor::AudioBound::AtAnalysis).Ok() || info.AudioLength <= 0) return 0;

    const std::string output = kalvor::fuzz::WriteScratch("output.mp3", nullptr, 0);
    kalvor::CopyOutcome written;
    std::vector<std::int64_t> starts;
    {
        kalvor::FrameOutput out(output, (choices & 1) != 0 ? kalvor::OutputKind::Piece : kalvor::OutputKind::Edited);
        for (int i = 0; i < rangeCount; ++i) {
            const std::int32_t a = Place(info, places[2 * i]), b = Place(info, places[2 * i + 1]);
            if (!out.Append(source, std::min(a, b), std::max(a, b), 1, 1).Ok()) return 0;
        }
        written = out.Write();
        if (!written.Ok() || written.BytesAppended == 0) return 0;
        for (std::size_t i = 0; i < out.RangesTaken(); ++i) starts.push_back(out.WrittenAt(i));
        if (out.Finish(false) != 1) return 0;
    }
    kalvor::FrameWalk walk;
    const bool clean = kalvor::WalkFrames(source, info.FirstFramePos - 1, info.RefHeader, walk) &&
                       walk.JunkBytes == 0 && walk.Resyncs == 0;
    kalvor::StreamInfo result;
    Require(!clean || kalvor::AnalyzeAudio(output, result, kalvor::AudioBound::AtAnalysis).Ok() ||
                kalvor::HoldsOnlyAHeaderFrame(output),
            "an output repacked from a file without junk analyses or is a header frame alone");
    const std::string once = kalvor::fuzz::ReadWhole(output);
    // A range after a cut frame is not reached by the frames' lengths: its
    // start is looked at where the writer put it.
    for (const std::int64_t at : starts) {
        const auto* bytes = reinterpret_cast<const std::uint8_t*>(once.data());
        Require(!clean || at < 0 ||
                    (at + 4 <= static_cast<std::int64_t>(once.size()) &&
                     kalvor::IsFrameOfStream(bytes + at, info.RefHeader)),
                "a range starts on a frame of the output");
    }
    Require(kalvor::FinishWrittenFile(output, false) == 1, "a repacked output finishes again");
    Require(kalvor::fuzz::ReadWhole(output) == once, "finishing a repacked output again changes no byte");
    return 0;
}
