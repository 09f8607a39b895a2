#pragma once
// Reading and replacing the files the player can put anything in the place of.
// A file is opened first and checked afterwards, so whatever is checked is what
// gets read; a pipe or a device in a file's place is never read nor written,
// and opening one never waits.

#include <cstddef>
#include <filesystem>
#include <string>
#include <string_view>

namespace daro {

enum class FileProblem { none, missing, noPermission, folder, notRegular, tooLarge, readError };

struct FileContents {
    std::string bytes;
    FileProblem problem = FileProblem::none;
    int error = 0;  // errno of a readError
};

// The whole file, or the problem that kept it from being read. A file of more
// than `largest` bytes is never read.
FileContents readRegularFile(const std::filesystem::path& path, std::size_t largest);

// Why a file could not be read, for the player: Japanese, without the name.
std::string describeFileProblem(FileProblem problem, int error);

// Writes `bytes` to a new file beside the target, flushes it to the disk and
// renames it over the target, so a failure or a crash at any moment leaves
// either the old file or the new one whole. A symbolic link keeps pointing at
// its file, which is the one replaced. Anything but a regular file in the
// target's place is left alone and the write fails.
bool replaceFile(const std::filesystem::path& path, std::string_view bytes);

// Called between the flushed new file and the rename, when set: lets a test
// stop the program at the moment a crash would once have emptied the file.
extern void (*afterNewFileWritten)();

}  // namespace daro
