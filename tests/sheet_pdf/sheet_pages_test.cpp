// SPDX-License-Identifier: GPL-3.0-or-later
// The printed pages over random canals: every text once and in order, no
// heading last on a page, no table broken after its header, no drawing,
// report or signature table split, and nothing below the footer's band.
#include <gtest/gtest.h>

#include <QBuffer>
#include <QGuiApplication>
#include <QPageLayout>
#include <QPdfWriter>
#include <random>
#include <string>
#include <vector>

#include "sheet/sheet_builder.h"
#include "sheet_pdf/sheet_pages.h"

namespace veltrane::sheet {
namespace {

using Kind = PlacedPiece::Kind;

// What a block shows, as the pages give it back: a paragraph's text without
// its exponent marks, a table's header and rows, a drawing's index.
std::string BlockText(const Block& block, int& drawings) {
    if (const auto* h = std::get_if<Heading>(&block)) {
        return h->text;
    }
    if (const auto* p = std::get_if<Paragraph>(&block)) {
        std::string text = p->text;
        if (p->formula) {
            for (auto at = text.find("^{"); at != std::string::npos; at = text.find("^{", at)) {
                text.erase(text.find('}', at), 1);
                text.erase(at, 2);
            }
        }
        return text;
    }
    const auto row = [](const std::vector<std::string>& cells, std::size_t width) {
        std::string s;
        for (std::size_t c = 0; c < width; ++c) {
            s += (c == 0 ? "" : "\t") + (c < cells.size() ? cells[c] : std::string());
        }
        return s;
    };
    if (const auto* t = std::get_if<Table>(&block)) {
        std::size_t width = t->header.size();
        for (const auto& r : t->rows) {
            width = std::max(width, r.size());
        }
        std::string text = t->header.empty() ? "" : row(t->header, width) + "\n";
        for (const auto& r : t->rows) {
            text += row(r, width) + "\n";
        }
        return text;
    }
    if (const auto* v = std::get_if<Verbatim>(&block)) {
        return v->text;
    }
    if (std::holds_alternative<Drawing>(block)) {
        return std::to_string(drawings++);
    }
    if (const auto* s = std::get_if<Signatures>(&block)) {
        std::string text = "职责\t姓名\t签字\t日期";
        for (const SignatureLine& line : s->lines) {
            text += "\n" + line.role + "\t" + line.name + "\t\t" + line.date;
        }
        return text;
    }
    return {};
}

std::string RandomText(std::mt19937& random, int longest) {
    static const char* kPieces[] = {
        "渠", "支",  "斗", "一", "A",    "7",      " ",
        "&",  "<b>", "—",  "（", "桩号", "K1+200", "长长长长长长长长长长长长"};
    std::uniform_int_distribution<int> length(0, longest);
    std::uniform_int_distribution<std::size_t> piece(0, std::size(kPieces) - 1);
    std::string text;
    for (int i = length(random); i > 0; --i) {
        text += kPieces[piece(random)];
    }
    return text;
}

Document RandomCanal(std::mt19937& random) {
    std::uniform_int_distribution<int> reaches(1, 60);
    std::uniform_real_distribution<double> unit(0, 1);
    std::vector<CanalRow> rows(static_cast<std::size_t>(reaches(random)));
    for (std::size_t i = 0; i < rows.size(); ++i) {
        CanalRow& row = rows[i];
        row.line = i + 2;
        row.request = {.section = StandardRef(static_cast<SectionSize>(random() % kSectionCount)),
                       .discharge = std::to_string(0.02 + unit(random) * 1.2),
                       .slope = std::to_string(200 + static_cast<int>(unit(random) * 4000)),
                       .roughness = "0.015",
                       .factor = std::to_string(1 + unit(random) * 0.5),
                       .reach = {.project = RandomText(random, 20),
                                 .channel = RandomText(random, unit(random) < 0.1 ? 400 : 12),
                                 .station = RandomText(random, 6),
                                 .designer = RandomText(random, 4),
                                 .date = "2026年12月8日"}};
        if (unit(random) < 0.3) {
            row.request.criteria = {.minFreeboard = 0.05, .minVelocity = 0.3, .maxVelocity = 2};
        }
        if (unit(random) < 0.05) {
            row.request.discharge = "abc";
        }
    }
    return BuildCanal(rows);
}

class PagesTest : public ::testing::Test {
  protected:
    PagesTest() : writer_(&buffer_) {
        writer_.setResolution(300);
        writer_.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait,
                                          QMarginsF(18, 18, 18, 18), QPageLayout::Millimeter));
        body_ = writer_.pageLayout().paintRectPixels(300).size();
    }

    QBuffer buffer_;
    QPdfWriter writer_;
    QSizeF body_;
};

TEST_F(PagesTest, RandomCanalsBreakOnlyWhereTheyMay) {
    std::mt19937 random(2026);
    const double usable = ContentHeight(&writer_, body_.height());
    int slices = 0;  // rows taller than a page, cut: the long names make some
    for (int run = 0; run < 12; ++run) {
        const Document doc = RandomCanal(random);
        const std::vector<PageContent> pages = LayOutPages(doc, &writer_, body_);
        ASSERT_FALSE(pages.empty());

        // Each block's text, gathered from the pages, once and in order.
        std::vector<std::string> gathered(doc.blocks.size());
        std::vector<bool> seen(doc.blocks.size(), false);
        std::size_t last = 0;
        for (std::size_t p = 0; p < pages.size(); ++p) {
            const PageContent& page = pages[p];
            ASSERT_FALSE(page.empty()) << "page " << p + 1 << " is empty";
            EXPECT_NE(page.back().kind, Kind::Heading)
                << "page " << p + 1 << " ends with the heading " << page.back().text;
            for (std::size_t i = 0; i < page.size(); ++i) {
                const PlacedPiece& piece = page[i];
                ASSERT_GE(piece.block, last) << "out of order on page " << p + 1;
                last = piece.block;
                if (piece.kind == Kind::TableHeader) {
                    // Never a header alone at the foot of a page.
                    ASSERT_LT(i + 1, page.size()) << "a header ends page " << p + 1;
                    EXPECT_EQ(page[i + 1].kind, Kind::TableRow);
                    EXPECT_EQ(page[i + 1].block, piece.block);
                }
                // Rows that go on from a page before come under their header again.
                if (piece.kind == Kind::TableRow && i == 0) {
                    const auto* table = std::get_if<Table>(&doc.blocks[piece.block]);
                    ASSERT_NE(table, nullptr);
                    EXPECT_TRUE(table->header.empty())
                        << "rows without their header, page " << p + 1;
                }
                // Within the content height, unless alone at the top of a page.
                if (i > 0) {
                    EXPECT_LE(piece.bottom, usable + 0.5) << "page " << p + 1 << ": " << piece.text;
                }
                if (piece.repeated) {
                    EXPECT_EQ(i, 0u) << "a repeated header not at the top of page " << p + 1;
                    continue;
                }
                if (piece.continued) {
                    ++slices;
                    // The rest of a row taller than a page, under its header.
                    EXPECT_EQ(i, 1u) << "a row's next slice not at the top of page " << p + 1;
                    continue;
                }
                std::string& text = gathered[piece.block];
                switch (piece.kind) {
                    case Kind::TableHeader:
                    case Kind::TableRow:
                        text += piece.text + "\n";
                        break;
                    default:
                        text += piece.text;
                }
                seen[piece.block] = true;
            }
        }
        int drawings = 0;
        for (std::size_t b = 0; b < doc.blocks.size(); ++b) {
            const std::string expected = BlockText(doc.blocks[b], drawings);
            if (std::holds_alternative<PageBreak>(doc.blocks[b])) {
                EXPECT_FALSE(seen[b]);
                continue;
            }
            EXPECT_TRUE(seen[b]) << "block " << b << " is missing";
            EXPECT_EQ(gathered[b], expected) << "block " << b;
        }
    }
    EXPECT_GT(slices, 0);
}

// Each part after a page break starts a page of its own: a canal of n
// reaches has its summary, then each reach, from a new page.
TEST_F(PagesTest, EachReachStartsAPage) {
    std::mt19937 random(7);
    const Document doc = RandomCanal(random);
    const std::vector<PageContent> pages = LayOutPages(doc, &writer_, body_);
    std::size_t starts = 0;
    for (const PageContent& page : pages) {
        const Block& first = doc.blocks[page.front().block];
        if (const auto* h = std::get_if<Heading>(&first); h != nullptr && h->level == 1) {
            ++starts;
        }
    }
    std::size_t breaks = 0;
    for (const Block& b : doc.blocks) {
        breaks += std::holds_alternative<PageBreak>(b) ? 1 : 0;
    }
    EXPECT_EQ(starts, breaks + 1);
}

}  // namespace
}  // namespace veltrane::sheet

int main(int argc, char** argv) {
    // No display is needed, also when the build lists the tests.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QGuiApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
