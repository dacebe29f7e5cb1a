#include "view/FormRules.h"

#include "style/KorvaneDoc.h"

bool IsOptionEnabled(const CKorvaneDoc& doc, int controlId) {
    switch (controlId) {
        case 1076: return doc.m_bHasCntt;
        case 1061:
        case 1077: return doc.m_bHasOTS;
        case 1078: return !doc.m_bHasOTS && doc.m_bOTSFileExists;
        case 1079:
        case 1080: return doc.m_bHasCASM;
        case 1081: return !doc.m_bHasCASM && doc.m_bCASMFileExists;
        default: return true;
    }
}

QPoint CCascade::NextPlace(QSize clientArea, QSize window) {
    QPoint place = m_next;
    if (place.y() + window.height() > clientArea.height()) {
        m_columnStart += kStep;
        m_next = place = QPoint(m_columnStart, 0);
    }
    if (place.x() + window.width() > clientArea.width()) {
        m_columnStart = 0;
        m_next = place = QPoint(0, 0);
    }
    m_next += QPoint(kStep, kStep);
    return place;
}
