// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/companion_session.h"

#include <QLineEdit>
#include <optional>

#include "app/calculation_window.h"

namespace veltrane {

WindowTexts TextsOf(const CalculationWindow& window) {
    const auto text = [&](InputBox box) { return window.inputBox(box)->text().toStdString(); };
    return {window.section().size, text(InputBox::Text2), text(InputBox::Text4),
            text(InputBox::text6), text(InputBox::Text7)};
}

SheetDetails& SessionSheetDetails() {
    static SheetDetails details;
    return details;
}

DesignCriteria CriteriaOf(const SheetDetails& details) {
    const auto read = [](const QString& text) -> std::optional<double> {
        bool ok = false;
        const double value = text.trimmed().toDouble(&ok);  // C locale: a point, always
        return ok && value >= 0 ? std::optional<double>(value) : std::nullopt;
    };
    return {.minFreeboard = read(details.minFreeboard),
            .minVelocity = read(details.minVelocity),
            .maxVelocity = read(details.maxVelocity)};
}

QString RejectionOf(const CalculationOutcome& outcome) {
    if (!outcome.rejectsInputs()) {
        return {};
    }
    const std::string_view text = outcome.message().text;
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

}  // namespace veltrane
