// The platform's types keep their Windows sizes and its constants their published values.
#include <windows.h>
#include <d3d9.h>
#include <d3dx9.h>

#include <gtest/gtest.h>

#include <cstddef>

static_assert(sizeof(LONG) == 4 && sizeof(DWORD) == 4 && sizeof(HRESULT) == 4 && sizeof(UINT) == 4, "32-bit types");
static_assert(sizeof(WPARAM) == sizeof(void*) && sizeof(LPARAM) == sizeof(void*) && sizeof(LRESULT) == sizeof(void*),
              "message parameters are pointer-sized");
static_assert(sizeof(D3DADAPTER_IDENTIFIER9) == 1100, "the adapter record");
static_assert(offsetof(D3DADAPTER_IDENTIFIER9, Description) == 512 && offsetof(D3DADAPTER_IDENTIFIER9, DeviceName) == 1024,
              "adapter record members");
static_assert(sizeof(WNDCLASSEXA) == (sizeof(void*) == 4 ? 48 : 80), "48 bytes on 32-bit Windows, 80 on 64-bit");
static_assert(sizeof(RECT) == 16 && sizeof(POINT) == 8 && sizeof(D3DRECT) == 16, "rectangles");
static_assert(sizeof(D3DPRESENT_PARAMETERS) == 13 * 4 + sizeof(HWND),
              "presentation parameters");

static_assert(S_OK == 0 && S_FALSE == 1 && E_FAIL == static_cast<HRESULT>(0x80004005), "generic statuses");
static_assert(D3DERR_DEVICELOST == static_cast<HRESULT>(0x88760868) &&
                  D3DERR_DEVICENOTRESET == static_cast<HRESULT>(0x88760869) &&
                  D3DERR_NOTAVAILABLE == static_cast<HRESULT>(0x8876086A) &&
                  D3DERR_INVALIDCALL == static_cast<HRESULT>(0x8876086C) &&
                  D3DERR_OUTOFVIDEOMEMORY == static_cast<HRESULT>(0x8876017C) &&
                  D3DOK_NOAUTOGEN == static_cast<HRESULT>(0x0876086F),
              "Direct3D statuses");
static_assert(D3DXERR_INVALIDDATA == static_cast<HRESULT>(0x88760B59), "D3DX statuses");
static_assert(D3DFMT_UNKNOWN == 0 && D3DFMT_A8R8G8B8 == 21 && D3DFMT_X8R8G8B8 == 22 && D3DFMT_R5G6B5 == 23 &&
                  D3DFMT_X1R5G5B5 == 24,
              "formats");
static_assert(D3DDEVTYPE_HAL == 1 && D3DDEVTYPE_REF == 2 && D3DSWAPEFFECT_DISCARD == 1 && D3DMULTISAMPLE_NONE == 0,
              "device enums");
static_assert(D3DPRESENT_INTERVAL_IMMEDIATE == 0x80000000u && D3DCREATE_SOFTWARE_VERTEXPROCESSING == 0x20 &&
                  D3DCLEAR_TARGET == 1 && D3D_SDK_VERSION == 32 && D3DADAPTER_DEFAULT == 0,
              "Direct3D constants");
static_assert(DT_WORDBREAK == 0x10 && DT_NOCLIP == 0x100 && DT_LEFT == 0 && DT_TOP == 0, "DrawText formats");
static_assert(WS_OVERLAPPED == 0 && (WS_OVERLAPPED | WS_SYSMENU) == 0x00080000 && (WS_POPUP | WS_VISIBLE) == 0x90000000u &&
                  (WS_VISIBLE | WS_CAPTION) == 0x10C00000 && (WS_EX_APPWINDOW | WS_EX_DLGMODALFRAME) == 0x00040001,
              "window styles");
static_assert((WS_CHILD | WS_VISIBLE | WS_GROUP | BS_GROUPBOX) == 0x50020007 &&
                  (WS_CHILD | WS_VISIBLE | WS_GROUP | WS_TABSTOP | BS_AUTORADIOBUTTON) == 0x50030009 &&
                  (WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_AUTORADIOBUTTON) == 0x50010009 &&
                  (WS_CHILD | WS_VISIBLE | WS_VSCROLL | WS_GROUP | WS_TABSTOP | CBS_DROPDOWNLIST) == 0x50230003 &&
                  (WS_CHILD | WS_VISIBLE | WS_GROUP | WS_TABSTOP | BS_DEFPUSHBUTTON) == 0x50030001,
              "control styles");
static_assert(WM_CREATE == 1 && WM_DESTROY == 2 && WM_CLOSE == 0x10 && WM_QUIT == 0x12 && WM_KEYDOWN == 0x100 &&
                  WM_CHAR == 0x102 && WM_COMMAND == 0x111 && WM_LBUTTONDOWN == 0x201 && VK_ESCAPE == 0x1B,
              "messages and keys");
static_assert(CS_OWNDC == 0x20 && BLACK_BRUSH == 4 && COLOR_BTNFACE + 1 == 16 && IDOK == 1 && IDCANCEL == 2 &&
                  SM_CXSCREEN == 0 && SM_CYSCREEN == 1 && SW_SHOW == 5 && PM_REMOVE == 1,
              "user constants");
static_assert(BM_GETCHECK == 0xF0 && BM_SETCHECK == 0xF1 && BST_CHECKED == 1 && CB_ADDSTRING == 0x143 &&
                  CB_GETCURSEL == 0x147 && CB_SETCURSEL == 0x14E && CB_ERR == -1,
              "control messages");
static_assert(FW_NORMAL == 400 && DEFAULT_CHARSET == 1 && OUT_DEFAULT_PRECIS == 0 && ANTIALIASED_QUALITY == 4 &&
                  (DEFAULT_PITCH | FF_DONTCARE) == 0,
              "font description");

TEST(HeadersTest, ResourceNamesAreTheirOrdinals) {
    EXPECT_EQ(reinterpret_cast<uintptr_t>(IDI_APPLICATION), 32512u);
    EXPECT_EQ(reinterpret_cast<uintptr_t>(IDC_ARROW), 32512u);
    EXPECT_EQ(LOWORD(0x12345678), 0x5678);
    EXPECT_EQ(HIWORD(0x12345678), 0x1234);
    EXPECT_EQ(GET_X_LPARAM(MAKELPARAM(-3, 7)), -3);
}
