// SPDX-License-Identifier: GPL-3.0-or-later
#include "view/FormRules.h"

#include "document/KorvaneDoc.h"
#include "document/SaveOptions.h"

bool IsOptionEnabled(const CKorvaneDoc& doc, int controlId) {
    switch (controlId) {
        case option_id::kDeleteAllCntt: return doc.m_bHasCntt;
        case option_id::kDeleteOTS:
        case option_id::kExportOTS: return doc.m_bHasOTS;
        case option_id::kImportOTS: return !doc.m_bHasOTS && doc.m_bOTSFileExists;
        case option_id::kDeleteCASM:
        case option_id::kExportCASM: return doc.m_bHasCASM;
        case option_id::kImportCASM: return !doc.m_bHasCASM && doc.m_bCASMFileExists;
        default: return true;
    }
}
