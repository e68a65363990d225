// Files the program keeps for itself under the user's local application data. Names are UTF-16 from
// the folder to the file call, so a user name outside the program's code page is no obstacle.
#pragma once
#include <cstddef>
#include <string>
#include <vector>

#include "runtime/core/bytes.h"
#include "runtime/win/file_handle.h"

namespace brindor {

// The folder of the program's executable, without a trailing backslash; empty when unknown.
std::wstring program_folder();
// A file named "portable" beside the executable keeps the program's files beside it: nothing is
// written under the user's profile then.
bool is_portable();

// The folder `relative` (backslashes between its parts) under the local application data, created
// when missing; empty when it cannot be had. Its first part names the program's own folder there;
// in portable mode the executable's folder takes that part's place.
std::wstring local_data_folder(const wchar_t* relative);
// The same under the roaming application data, which follows the user from machine to machine.
std::wstring roaming_data_folder(const wchar_t* relative);
// The names, without the folder, of the files in `folder` that match `pattern` ("*.csv").
std::vector<std::wstring> files_in_folder(const std::wstring& folder, const wchar_t* pattern);
bool delete_named_file(const std::wstring& name);
// The whole file; empty when it cannot be read.
Bytes read_named_file(const std::wstring& name);

// A file written at its end, line by line, each write handed to the system before it returns.
class AppendingFile {
  public:
    // `create_new`: fails when the file exists already.
    bool open(const std::wstring& name, bool create_new);
    bool is_open() const { return file_.valid(); }
    bool write(const void* data, size_t size);
    // Makes what was written survive a power cut.
    bool flush();
    void close() { file_.reset(); }

  private:
    FileHandle file_;
};

} // namespace brindor
