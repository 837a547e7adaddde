#pragma once
// A three-pixel bar between two panes, dragged with the mouse: a line follows the pointer within
// the bar's range, and when the button is let go the owner hears how far the bar moved (the
// message given at creation, lParam = the signed distance) and the bar moves there.
#include "ui/framework/wnd.h"

enum SplitterOrientation { SplitterVertical = 1, SplitterHorizontal = 2 }; // a vertical bar moves left and right

class CWindowSplitter : public CWnd {
public:
    // The orientation follows from the rectangle: taller than wide is a vertical bar.
    bool Create(DWORD style, const RECT& r, HWND parent, UINT id, UINT movedMessage);
    // The limits of the bar's centre, in the parent's client coordinates, along its axis.
    void SetRange(int minPos, int maxPos);

    SplitterOrientation orientation = SplitterVertical;
    int tracking = 0;
    POINT currentPos{};
    int startPos = 0;
    int minPos = 0, maxPos = 0;

protected:
    LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    void DrawTrackingLine() const;
    void EndTracking(bool notify);
    UINT movedMessage_ = 0;
};
