// What dialog_open needs of a CommonDlg control.
#pragma once
#include "runtime/core/file_name.h"

namespace brindor {

class FileDialogControl {
  public:
    virtual bool open() = 0;
    // The file the last confirmed dialog chose, as the system named it.
    virtual const FileName& chosen() const = 0;
    virtual const FileNames& chosen_files() const = 0;

  protected:
    ~FileDialogControl() = default;
};

} // namespace brindor
