// SPDX-License-Identifier: GPL-3.0-or-later
// The two voices of Veltrane: Chinese for everything a user of the program,
// the page or a document reads; English for veltrane-calc's standard error
// and plain-text tables, as scripting tools speak.
#pragma once

namespace veltrane::views {

enum class Language { Chinese, English };

}  // namespace veltrane::views
