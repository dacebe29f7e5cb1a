// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <optional>
#include <string>

// Why something could not be played or rendered: a text of play_messages (or of the
// style engine's table) with its values filled in, ready to show. Nothing: it worked.
using PlayError = std::optional<std::string>;
