#pragma once
// What the document needs of the playback object. The window plugs in the real
// one; without a player (the command line, most tests) the document takes the
// duration from the stream analysis and never waits for a file to be released.
#include <cstdint>
#include <string>

namespace kalvor {

class Player {
   public:
    virtual ~Player() = default;

    // Lets go of the playback object so that it holds no file open (clear the
    // file name, close the output, clear the name again, release the object).
    // Does nothing when there is no object.
    virtual void DropGraph() = 0;

    // Creates a fresh playback object and initialises it.
    virtual void CreateGraph() = 0;

    // Opens path for playback (the object's FileName).
    virtual void SetFileName(const std::string& path) = 0;

    // Length of the opened file in milliseconds; 0 or less when unknown.
    virtual std::int32_t Length() = 0;
};

}  // namespace kalvor
