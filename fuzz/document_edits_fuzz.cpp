// A document opened on the fuzz input's file and driven through selections,
// delete, cut, copy, paste, paste from a file, write and undo by the input's
// first bytes. After every step the current version analyses as the document
// says, no unfinished version is left, the clip is made of frames, a version
// the document wrote has a header that agrees with its frames, and the opened
// file is untouched.
//
// Input: a step count n (first byte, mod 24), n steps of three bytes (what,
// a, b), then the file.
#include <cstdint>
#include <filesystem>

#include "document/document.h"
#include "fuzz_support.h"
#include "mpeg/FCT_mpeg.h"
#include "mpeg/xing_audit.h"

namespace {

using kalvor::fuzz::Require;
namespace fs = std::filesystem;

struct Step {
    std::uint8_t what, a, b;
};

void Run(kalvor::Document& doc, const Step& step, const std::string& other, const std::string& written) {
    const std::int32_t length = doc.AudioLength();
    switch (step.what % 9) {
        case 0:
            doc.Sel.SelectRange(static_cast<std::int32_t>(std::int64_t{length} * step.a / 255),
                                static_cast<std::int32_t>(std::int64_t{length} * step.b / 255));
            doc.UpdateSelectionMs();
            break;
        case 1: doc.SelectAll(); break;
        case 2: doc.Delete(); break;
        case 3: doc.Cut(); break;
        case 4: doc.Copy(); break;
        case 5: doc.Paste(); break;
        case 6: doc.Undo(); break;
        case 7: doc.WriteToFile(written); break;
        default: doc.PasteFromFile(other); break;
    }
}

void CheckState(const kalvor::Document& doc, const std::string& input, const std::string& inputBytes) {
    const kalvor::WorkingFiles& files = doc.Working();
    Require(!fs::exists(files.WorkFile), "no unfinished version is left");
    Require(fs::exists(doc.CurFile()), "the current version exists");
    kalvor::StreamInfo now;
    if (kalvor::AnalyzeStreamWhy(doc.CurFile(), now).Ok())
        Require(now.AudioLength == doc.AudioLength() && now.FirstFramePos == doc.Info().FirstFramePos,
                "the document's record is the current version's");
    else
        Require(doc.CurFile() == doc.OrgFile() || fs::file_size(doc.CurFile()) == 0,
                "every version the document wrote analyses");
    kalvor::StreamInfo clip;
    if (fs::exists(files.ClipFile) && fs::file_size(files.ClipFile) >= 48)
        Require(kalvor::AnalyzeStreamWhy(files.ClipFile, clip).Ok(), "the clip analyses");
    if (doc.CurFile() != doc.OrgFile() && now.AudioLength > 0) {
        kalvor::XingAudit audit;
        if (kalvor::AuditXingFile(doc.CurFile(), false, audit))
            Require(kalvor::HeaderCountsAgree(audit), "a written version's header agrees with its frames");
    }
    Require(kalvor::fuzz::ReadWhole(input) == inputBytes, "the opened file is untouched");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    kalvor::fuzz::InputCursor in(data, size);
    std::vector<Step> steps(in.Byte() % 24);
    for (Step& s : steps) s = {in.Byte(), in.Byte(), in.Byte()};
    const std::string bytes(reinterpret_cast<const char*>(in.Rest()), in.RestSize());
    const std::string folder = kalvor::fuzz::ScratchFolder() + "/work";
    std::error_code ec;
    fs::remove_all(folder, ec);
    fs::create_directories(folder);
    const std::string input = kalvor::fuzz::WriteScratch("doc.mp3", in.Rest(), in.RestSize());
    const std::string written = kalvor::fuzz::ScratchFolder() + "/written.mp3";
    fs::remove(written, ec);
    {
        kalvor::Document doc(folder);
        if (doc.OpenFile(input) != 1) return 0;
        for (const Step& s : steps) {
            Run(doc, s, input, written);
            CheckState(doc, input, bytes);
        }
    }
    return 0;
}
