#pragma once
// Places the controls of a settings page from top to bottom, in framed groups, each control
// sized from its text in the control font: a page only says what comes next. Every control is
// made through the page's ControlFactory_CL; the layout returns the factory index of each.
// A group's frame is made when the group ends, once the size of what it holds is known, and
// so lies below its controls.
//
// Thread: UI only; one layout per build of a page.

#include <windows.h>

#include <string>
#include <vector>

class ControlFactory_CL;

class PageLayout_CL {
public:
    PageLayout_CL(ControlFactory_CL& controls, HWND parent);

    // The controls made until EndGroup stand inside a frame with this caption.
    void BeginGroup(const std::wstring& caption);
    void EndGroup();

    int CheckBox(const std::wstring& text);
    int Label(const std::wstring& text);
    // A drop-down list as wide as its longest item; with a label, the label stands before it
    // on the same line. *labelIndex receives the label's index when asked.
    int Combo(const std::vector<std::wstring>& items, const std::wstring& label = std::wstring(),
              int* labelIndex = nullptr);
    // A slider width pixels wide (at 96 dots per inch).
    int Slider(int width96);
    int Button(const std::wstring& text);
    // A multi-line edit of columns × rows character cells.
    int Edit(int columns, int rows, const std::wstring& text);
    // A report-view list of width × height pixels (at 96 dots per inch).
    int List(int width96, int height96);

    // A label centred under the control at index (a mark under a slider), beside the flow:
    // the next line starts below both.
    int LabelUnder(int index, const std::wstring& text);

    // The next control stands to the right of the last one instead of below it.
    void SameLine();
    // Empty space of pixels (at 96 dots per inch) before the next line.
    void Space(int pixels96);

    // Ends the page: the outermost frames are widened to the rightmost edge. Returns the area
    // taken, the outer margin included on every side.
    SIZE Finish();

private:
    // Places a made control: on the current line or a new one; returns index.
    int Place(int index);
    void Occupy(const RECT& rect);
    int Left() const;
    POINT Next() const;

    struct Group {
        int top = 0;
        int right = 0;
        std::wstring caption;
    };

    ControlFactory_CL& m_controls;
    HWND m_parent;
    int m_margin;
    int m_gap;
    int m_groupInset;
    int m_captionHeight;
    int m_y;              // top of the next line
    int m_lineRight = 0;  // right edge of the last control placed
    int m_lineTop = 0;    // top of the line the last control started
    bool m_sameLine = false;
    int m_right = 0;      // the rightmost edge of anything placed
    std::vector<Group> m_groups;
    std::vector<int> m_topFrames;  // factory indexes of the outermost frames
};
