// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "format/ByteOrder.h"
#include "format/StyleError.h"
#include "format/StyleNames.h"

// Whether a side file may become part of a style. Only a whole chunk is imported, so
// that no save turns a working style into one that cannot be loaded.

// A CASM file: exactly one "CASM" chunk (its length field matches the file's size)
// whose CSEGs pass the walk a loaded style's chunk passes, with channel tables of the
// style's own format ("Ctab" for SFF1, "Ctb2" for SFF2). Offsets count from the
// file's first byte.
MaybeStyleError CheckCasmFile(ByteView file, StyleFormat styleFormat);

// An OTS file: exactly one "OTSc" chunk. Its content is the keyboard's and is not read.
MaybeStyleError CheckOtsFile(ByteView file);
