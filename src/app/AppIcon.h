// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QIcon>

// The program's icon in every size the resources hold, for the main window and the
// About box.
QIcon KorvaneIcon();
