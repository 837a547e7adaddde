#include "ui/box_layout.h"

BoxLayout LayOutBox(int lineCount, int lineHeight) {
    BoxLayout l{};
    const int h = lineCount * lineHeight;
    l.textHeight = h;
    l.text = {15, 20, kBoxTextWidth, h};
    l.group = {5, 0, 285, h + 30};
    l.ok = {100, h + 35, 100, 20};
    l.yes = {5, h + 35, 100, 20};
    l.no = {190, h + 35, 100, 20};
    l.windowWidth = 300;
    l.clientHeight = h + 60;
    return l;
}
