#pragma once
// Where the parts of a message or question box go, from the height of its text. Portable.
struct BoxRect {
    int x, y, width, height;
};

struct BoxLayout {
    int textHeight;   // H: lines x line height
    BoxRect text;     // the rich-edit control with the message
    BoxRect group;    // the group box around it
    BoxRect ok;       // "Ok" of a message box
    BoxRect yes, no;  // "Yes" and "No" of a question box
    int windowWidth;  // whole window
    int clientHeight; // window height without the non-client part
};

// The text control is first made 250 pixels wide to count its lines, then widened to 265.
constexpr int kBoxTextCountWidth = 250;
constexpr int kBoxTextWidth = 265;

BoxLayout LayOutBox(int lineCount, int lineHeight);
