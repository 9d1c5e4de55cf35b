#include "frame/frame.h"
#include "vemo/box_win32.h"

int main() {
    run_frame(vemo_body, nullptr);
}
