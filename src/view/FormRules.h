// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

class CKorvaneDoc;

// Which of the form's controls a style allows, decided from the document alone.

// An option box can be used only where its option can act: the "Cntt" box while the
// CASM chunk holds "Cntt" data, delete and export while the chunk exists, import
// while it does not but its side file did at load. The other boxes always.
bool IsOptionEnabled(const CKorvaneDoc& doc, int controlId);
