#pragma once

#include <QPoint>
#include <QSize>

class CKorvaneDoc;

// Which of the form's controls a style allows, decided from the document alone.

// An option box can be used only where its option can act: the "Cntt" box while the
// CASM chunk holds "Cntt" data, delete and export while the chunk exists, import
// while it does not but its side file did at load. The other boxes always.
bool IsOptionEnabled(const CKorvaneDoc& doc, int controlId);

// Each style window opens one step right of and below the last, in columns: a
// window whose bottom would pass the main window's client area starts a new column
// a step right of the last column start, at the top; one whose right edge would
// pass it starts again at the corner. One cascade serves all windows of a run;
// closing windows does not move it back.
class CCascade {
public:
    static constexpr int kStep = 22;

    // The place for a new window of the given outer size in a client area of the
    // given size.
    QPoint NextPlace(QSize clientArea, QSize window);

private:
    int m_columnStart = 0;
    QPoint m_next{0, 0};
};
