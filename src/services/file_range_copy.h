#pragma once
// Appending byte ranges of one file to the end of another, with both files held
// open for as long as the appender lives. Where the system copies between files
// itself (copy_file_range on Linux) the bytes never pass through this process,
// which is as fast as the system's own file copy; elsewhere, or when the system
// declines (files on different file systems of an old kernel, special files),
// they go through one buffer of BufferBytes.
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
    // The most a buffered copy holds in memory.
    static constexpr std::int64_t BufferBytes = 102400;

    FileRangeAppender(std::string source, std::string destination);
    ~FileRangeAppender();
    FileRangeAppender(const FileRangeAppender&) = delete;
    FileRangeAppender& operator=(const FileRangeAppender&) = delete;

    // Opens the source for reading. The destination is opened (created when
    // missing, never truncated) only once there is a byte to append, so a range
    // that holds nothing leaves no file behind.
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
    std::unique_ptr<Handles> handles_;
};

}  // namespace kalvor
