// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/companion_session.h"

#include "views/dates.h"

#include <QLineEdit>

#include "app/calculation_window.h"

namespace veltrane {

WindowTexts TextsOf(const CalculationWindow& window) {
    const auto text = [&](InputBox box) { return window.inputBox(box)->text().toStdString(); };
    return {*window.section().standard, text(InputBox::Text2), text(InputBox::Text4),
            text(InputBox::text6), text(InputBox::Text7)};
}

SheetDetails& SessionSheetDetails() {
    static SheetDetails details;
    return details;
}

sheet::ReachDetails ReachDetailsOf(const SheetDetails& k) {
    return {.project = k.project.toStdString(),
            .channel = k.channel.toStdString(),
            .station = k.station.toStdString(),
            .designer = k.designer.toStdString(),
            .date = views::Today(),
            .unit = k.unit.toStdString(),
            .stage = k.stage.toStdString(),
            .number = k.number.toStdString(),
            .checker = k.checker.toStdString(),
            .approver = k.approver.toStdString()};
}

std::vector<std::string> BasisOf(const SheetDetails& details) {
    std::vector<std::string> lines;
    for (const QString& line : details.basis.split(u'\n')) {
        if (const QString t = line.trimmed(); !t.isEmpty()) {
            lines.push_back(t.toStdString());
        }
    }
    return lines;
}

views::CriteriaReading CriteriaOf(const SheetDetails& details) {
    return views::ReadCriteria(
        {details.minFreeboard.toStdString(), details.minVelocity.toStdString(),
         details.maxVelocity.toStdString(), details.minDischarge.toStdString()});
}

QString CriteriaProblemsText(const views::CriteriaReading& reading) {
    return QString::fromStdString(views::ProblemsText(reading.problems, views::Language::Chinese));
}

QString RejectionOf(const CalculationOutcome& outcome) {
    if (!outcome.rejectsInputs()) {
        return {};
    }
    const std::string_view text = outcome.message().text;
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

}  // namespace veltrane
