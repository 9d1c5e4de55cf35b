// Baseline for the benchmark: a console program that fills a bare report-view
// list with the lines of a file, redrawing suspended while it inserts, and
// shows it. What the list tool costs beyond this is its own.
//
//   baseline_list_view LISTFILE
#include <windows.h>
#include <commctrl.h>

#include <string>
#include <vector>

namespace {

const int BASELINE_LIST_ID = 1;

std::string read_whole_file(const char* path) {
    std::string bytes;
    HANDLE file = CreateFileA(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return bytes;
    char buffer[65536];
    DWORD got = 0;
    while (ReadFile(file, buffer, sizeof buffer, &got, nullptr) && got > 0) {
        bytes.append(buffer, got);
    }
    CloseHandle(file);
    return bytes;
}

// Same line ends as the list tool: CR LF, LF, CR or a zero byte.
std::vector<std::string> split_lines(const std::string& bytes) {
    std::vector<std::string> lines;
    std::string line;
    for (size_t i = 0; i < bytes.size(); ++i) {
        char c = bytes[i];
        if (c == '\r' || c == '\n' || c == '\0') {
            if (c == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n')
                ++i;
            lines.push_back(line);
            line.clear();
        } else {
            line += c;
        }
    }
    if (!line.empty())
        lines.push_back(line);
    return lines;
}

LRESULT CALLBACK baseline_proc(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam) {
    switch (message) {
        case WM_SIZE:
            MoveWindow(GetDlgItem(hwnd, BASELINE_LIST_ID), 0, 0, LOWORD(lparam), HIWORD(lparam),
                       TRUE);
            return 0;
        case WM_DESTROY:
            PostQuitMessage(0);
            return 0;
        default:
            return DefWindowProcA(hwnd, message, wparam, lparam);
    }
}

HWND create_list(HWND parent) {
    HWND list = CreateWindowExA(
        WS_EX_CLIENTEDGE, WC_LISTVIEWA, "",
        WS_CHILD | WS_VISIBLE | LVS_REPORT | LVS_SINGLESEL | LVS_NOCOLUMNHEADER | LVS_SHOWSELALWAYS,
        0, 0, 400, 300, parent, (HMENU)(INT_PTR)BASELINE_LIST_ID, GetModuleHandleA(nullptr),
        nullptr);
    LVCOLUMNA column = {};
    column.mask = LVCF_WIDTH;
    column.cx = 380;
    SendMessageA(list, LVM_INSERTCOLUMNA, 0, (LPARAM)&column);
    return list;
}

void fill_list(HWND list, const std::vector<std::string>& lines) {
    SendMessageA(list, WM_SETREDRAW, FALSE, 0);
    LVITEMA item = {};
    item.mask = LVIF_TEXT;
    for (size_t i = 0; i < lines.size(); ++i) {
        item.iItem = (int)i;
        item.pszText = (char*)lines[i].c_str();
        SendMessageA(list, LVM_INSERTITEMA, 0, (LPARAM)&item);
    }
    SendMessageA(list, WM_SETREDRAW, TRUE, 0);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2)
        return 2;
    INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_LISTVIEW_CLASSES};
    InitCommonControlsEx(&controls);
    WNDCLASSA window_class = {};
    window_class.lpfnWndProc = baseline_proc;
    window_class.hInstance = GetModuleHandleA(nullptr);
    window_class.hCursor = LoadCursor(nullptr, IDC_ARROW);
    window_class.lpszClassName = "BaselineListView";
    RegisterClassA(&window_class);
    HWND window = CreateWindowExA(0, window_class.lpszClassName, "Baseline", WS_OVERLAPPEDWINDOW,
                                  CW_USEDEFAULT, CW_USEDEFAULT, 420, 340, nullptr, nullptr,
                                  window_class.hInstance, nullptr);
    fill_list(create_list(window), split_lines(read_whole_file(argv[1])));
    ShowWindow(window, SW_SHOWNORMAL);
    MSG message;
    while (GetMessageA(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
    return 0;
}
