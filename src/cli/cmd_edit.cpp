// kalvor-cli edit SRC OUT STEP...: opens SRC as a document, runs the edit steps
// in order as the main window's commands would, and saves the result to OUT.
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <random>
#include <string>
#include <vector>

#include "cli/cli_command.h"
#include "cli/output_choice.h"
#include "document/document.h"
#include "mpeg/FCT_mpeg.h"
#include "services/basic.h"
#include "services/leftovers.h"

namespace kalvor::cli {
namespace {

namespace fs = std::filesystem;

struct Step {
    std::string name;
    std::string file;         // paste-file, write
    std::int32_t fromMs = 0;  // select
    std::int32_t toMs = 0;
};

std::int32_t TimeArg(const std::string& text) {
    std::int32_t success = 0;
    const std::int32_t ms = TimeTextToMs(text, true, &success);
    if (success != 1) throw UsageError{"cannot read the time: " + text};
    return ms;
}

std::vector<Step> ParseSteps(const Args& args, std::size_t first) {
    std::vector<Step> steps;
    for (std::size_t i = first; i < args.size(); ++i) {
        Step step;
        step.name = args[i];
        const auto operand = [&](const char* what) -> const std::string& {
            if (i + 1 >= args.size()) throw UsageError{step.name + " needs " + what};
            return args[++i];
        };
        if (step.name == "select") {
            step.fromMs = TimeArg(operand("FROM and TO"));
            step.toMs = TimeArg(operand("FROM and TO"));
        } else if (step.name == "paste-file" || step.name == "write") {
            step.file = operand("a FILE");
        } else if (step.name != "select-all" && step.name != "delete" && step.name != "cut" && step.name != "copy" &&
                   step.name != "paste" && step.name != "undo") {
            throw UsageError{"unknown step: " + step.name};
        }
        steps.push_back(step);
    }
    return steps;
}

// Prints what the document says, as the message panel would show it.
class PrintingSink : public DocumentSink {
   public:
    void Message(const std::string& text) override {
        if (text.empty()) return;
        std::printf("%s\n", text.c_str());
        std::fflush(stdout);
        last_ = text;
    }
    const std::string& Last() const { return last_; }

   private:
    std::string last_;
};

// A fresh folder for the working files, removed with them at the end.
class WorkFolder {
   public:
    WorkFolder() {
        std::random_device random;
        const fs::path base = fs::temp_directory_path();
        for (int attempt = 0; attempt < 100 && path_.empty(); ++attempt) {
            const fs::path candidate = base / ("kalvor-edit-" + std::to_string(random()));
            NoteWorkingFolder(candidate.string());
            std::error_code ec;
            if (fs::create_directory(candidate, ec)) path_ = candidate;
        }
    }
    ~WorkFolder() {
        std::error_code ec;
        if (!path_.empty()) fs::remove_all(path_, ec);
    }
    WorkFolder(const WorkFolder&) = delete;
    WorkFolder& operator=(const WorkFolder&) = delete;
    const fs::path& Path() const { return path_; }

   private:
    fs::path path_;
};

int RunStep(Document& doc, const Step& step) {
    if (step.name == "select") {
        const AudioTimeScale time = doc.TimeScale();
        doc.Sel.SelectRange(time.MsToPos(step.fromMs), time.MsToPos(step.toMs));
        doc.UpdateSelectionMs();
        return 1;
    }
    if (step.name == "select-all") {
        doc.SelectAll();
        return 1;
    }
    if (step.name == "delete") return doc.Delete();
    if (step.name == "cut") return doc.Cut();
    if (step.name == "copy") return doc.Copy();
    if (step.name == "paste") return doc.Paste();
    if (step.name == "paste-file") return doc.PasteFromFile(step.file);
    if (step.name == "write") return doc.WriteToFile(step.file);
    return doc.Undo();
}

std::string WhyNotOpened(const std::string& path) {
    StreamInfo info;
    return AnalysisFaultText(AnalyzeStreamWhy(path, info));
}

int RunEdit(const Args& args) {
    if (args.size() < 2) throw UsageError{"edit takes SRC OUT STEP..."};
    const std::string& src = args[0];
    const std::string& out = args[1];
    const std::vector<Step> steps = ParseSteps(args, 2);

    WorkFolder folder;
    if (folder.Path().empty()) return Fail("cannot make a working folder in " + fs::temp_directory_path().string());
    PrintingSink sink;
    Document doc(folder.Path().string(), &sink);
    doc.SetTagRewriter(OutputTagRewriter());
    if (doc.OpenFile(src) != 1) return Fail("cannot open " + src + ": " + WhyNotOpened(src));
    for (std::size_t i = 0; i < steps.size(); ++i) {
        if (RunStep(doc, steps[i]) == 1) continue;
        return Fail("step " + std::to_string(i + 1) + " (" + steps[i].name + ") refused: " + sink.Last());
    }
    if (doc.SaveToFile(out) != 1) return Fail("cannot write " + out + ": " + sink.Last());
    return 0;
}

}  // namespace

KALVOR_CLI_COMMAND("edit",
                   "edit SRC OUT STEP...\n"
                   "opens SRC, runs the steps in order and saves the result to OUT; steps:\n"
                   "select FROM TO, select-all, delete, cut, copy, paste, paste-file FILE, write FILE, undo\n"
                   "(example: edit in.mp3 out.mp3 select 10 20 cut select 40 40 paste)",
                   RunEdit);

}  // namespace kalvor::cli
