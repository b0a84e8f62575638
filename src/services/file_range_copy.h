#pragma once
// Appending byte ranges of one file to the end of another, with both files held
// open for as long as the appender lives, through one buffer.
// (The system's own copy between files was tried and measured slower here:
// frame ranges rarely start on a page boundary, and it copies such ranges
// page piece by page piece.)
#include <cstdint>
#include <memory>
#include <string>

namespace kalvor {

enum class RangeCopyFault {
    None,
    SourceUnreadable,       // the source cannot be opened or read
    SourceEnded,            // the source ends before the range does
    DestinationUnwritable,  // the destination cannot be opened or written
};

class FileRangeAppender {
   public:
    // bufferBytes: the most read and written at once, and all the appender holds.
    FileRangeAppender(std::string source, std::string destination, std::int64_t bufferBytes);
    ~FileRangeAppender();
    FileRangeAppender(const FileRangeAppender&) = delete;
    FileRangeAppender& operator=(const FileRangeAppender&) = delete;

    // Opens the source for reading; only a regular file is read. The destination
    // is opened (created when missing, never truncated) only once there is a
    // byte to append, so a range that holds nothing leaves no file behind.
    RangeCopyFault OpenSource();

    // Appends count bytes of the source from the 0-based offset; appended says
    // how many went in, also when a fault stopped the step part way. A step that
    // meets the end of the source appends what is there and says SourceEnded.
    RangeCopyFault Append(std::int64_t offset, std::int64_t count, std::int64_t& appended);

    // Closes both files; false when the destination reported a failed write on
    // closing (a full disk may show only then).
    bool Close();

   private:
    struct Handles;
    std::string source_, destination_;
    std::int64_t bufferBytes_;
    std::unique_ptr<Handles> handles_;
};

}  // namespace kalvor
