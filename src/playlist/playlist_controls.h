// The playlist editor's window as the core sees it: the list view (1082), the
// "Shuffle" box (1074), the file-open dialog and the end of the dialog. The
// Win32 adapter sends each call as the one message or function named here.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "platform/ports.h"

#ifdef _WIN32
#undef GetOpenFileName  // <commdlg.h>'s name for GetOpenFileNameW
#endif

namespace glimmer {

// LVITEM state bits.
inline constexpr std::uint32_t kLvisFocused = 0x1;
inline constexpr std::uint32_t kLvisSelected = 0x2;

class PlaylistControls {
 public:
  virtual ~PlaylistControls() = default;

  // The dialog window itself.
  virtual WindowHandle Dialog() = 0;

  // LVM_GETSTRINGWIDTHW: text's width in pixels in the list view's font.
  virtual int GetStringWidth(std::u16string_view text) = 0;
  // LVM_INSERTCOLUMNW, left-aligned, with text and width: the column's index, -1 on failure.
  virtual int InsertColumn(int index, std::u16string_view text, int width) = 0;
  // LVM_INSERTITEMW with text: the new item's index (an index past the end
  // appends), -1 on failure.
  virtual int InsertItem(int index, std::u16string_view text) = 0;
  virtual int GetSelectedCount() = 0;  // LVM_GETSELECTEDCOUNT
  virtual int GetItemCount() = 0;      // LVM_GETITEMCOUNT
  // LVM_GETITEMW asking for the state bits in mask; false when index names no item.
  virtual bool GetItemState(int index, std::uint32_t mask, std::uint32_t& state) = 0;
  // LVM_DELETEITEM: the items after it move up by one. False when index names no item.
  virtual bool DeleteItem(int index) = 0;

  // BM_GETCHECK / BM_SETCHECK of the "Shuffle" box (0 unchecked, 1 checked).
  virtual int GetCheck() = 0;
  virtual void SetCheck(int state) = 0;

  // BCM_SETSHIELD on the OK button: the UAC shield on it, or off it.
  virtual void SetOkShield(bool shield) = 0;

  // GetOpenFileNameW owned by the dialog, with no title and no initial folder
  // of its own: filter is lpstrFilter (NULs included), buffer is lpstrFile and
  // its size nMaxFile. False when cancelled or failed.
  virtual bool GetOpenFileName(std::u16string_view filter, std::uint32_t flags,
                               std::u16string& buffer) = 0;
  // The last file dialog's failure code, 0 after a plain cancel.
  virtual std::uint32_t CommDlgExtendedError() = 0;

  virtual void EndDialog(int result) = 0;
};

}  // namespace glimmer
