// What dialog_open needs of a CommonDlg control.
#pragma once

namespace brindor {

class FileDialogControl {
  public:
    virtual bool open() = 0;

  protected:
    ~FileDialogControl() = default;
};

} // namespace brindor
