#include <gtest/gtest.h>

#include <algorithm>

#include "app/fixedwidth.h"
#include "race/resultlayout.h"

namespace plumet {
namespace {

PrintTexts Shipped() {
    TextCatalogue catalogue;
    EXPECT_TRUE(catalogue.Load(std::string(PLUMET_SOURCE_DIR) + "/data"));
    return LoadPrintTexts(catalogue);
}

std::vector<ResultLine> Pigeons(std::size_t count) {
    std::vector<ResultLine> lines(count);
    for (std::size_t i = 0; i < count; ++i)
        lines[i] = {"Meier", "DV 01234 23  1234567M", "BL", 3600, "  1.00.00", 100.0, 1666.667 - double(i), false};
    return lines;
}

Race KmRace() {
    Race race;
    race.name = PadRight("Spring 1", 30);
    race.clubName = PadRight("Brieftaubenverein Nord", 30);
    race.releaseHour = 7;
    race.releaseMinute = 30;
    race.closedFromHour = 20;
    race.closedToHour = 6;
    race.meanDistance = "0250";
    return race;
}

// Texts of a page's rows in the position column (x 500, below the heads).
std::vector<std::string> Positions(const PrintPage& page) {
    std::vector<std::string> positions;
    for (const PrintText& text : page.texts)
        if (text.x == 500 && text.y >= 2100 && text.y < 6800) positions.push_back(text.text);
    return positions;
}

const PrintText* Find(const PrintPage& page, const std::string& text) {
    const auto it = std::find_if(page.texts.begin(), page.texts.end(), [&](const PrintText& t) { return t.text == text; });
    return it == page.texts.end() ? nullptr : &*it;
}

TEST(ResultLayout, PagesHold29RowsAndPrintTheChosenRange) {
    const PrintTexts texts = Shipped();
    const struct {
        std::size_t pigeons, first, last, pages;
        const char* firstRow;
        const char* lastRow;
        const char* counter;
    } cases[] = {
        {29, 1, 1, 1, "0001", "0029", "Page   1 of   1"},
        {30, 2, 2, 2, "0030", "0030", "Page   2 of   2"},
        {70, 2, 2, 3, "0030", "0058", "Page   2 of   3"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(PageCount(c.pigeons), c.pages);
        const auto pages = ResultPages(KmRace(), Pigeons(c.pigeons), texts, c.first, c.last, "01.05.2024", ',');
        ASSERT_EQ(pages.size(), 1u);
        const auto rows = Positions(pages[0]);
        ASSERT_FALSE(rows.empty());
        EXPECT_EQ(rows.front(), c.firstRow);
        EXPECT_EQ(rows.back(), c.lastRow);
        EXPECT_NE(Find(pages[0], c.counter), nullptr) << c.counter;
    }
    // An empty race still prints its head.
    EXPECT_EQ(PageCount(0), 1u);
    EXPECT_NE(Find(ResultPages(KmRace(), {}, texts, 1, 1, "", ',')[0], "Spring 1"), nullptr);
}

TEST(ResultLayout, HeadColumnsAndFiguresInKilometresAndMiles) {
    const PrintTexts texts = Shipped();
    Race race = KmRace();
    std::vector<ResultLine> lines = Pigeons(2);
    lines[1].speed = 5000.0;
    auto page = ResultPages(race, lines, texts, 1, 1, "01.05.2024", ',')[0];
    EXPECT_NE(Find(page, "none"), nullptr);
    EXPECT_NE(Find(page, "250 km"), nullptr);
    EXPECT_NE(Find(page, "in km"), nullptr);
    EXPECT_NE(Find(page, "in m/min"), nullptr);
    const PrintText* speed = Find(page, "   1666,667");
    ASSERT_NE(speed, nullptr);
    EXPECT_EQ(speed->x, 4650);
    EXPECT_EQ(speed->align, PrintAlign::End);
    EXPECT_NE(Find(page, "*.***,***"), nullptr);
    EXPECT_NE(Find(page, "    100,000"), nullptr);

    race.distanceUnit = kRaceInMiles;
    race.overNight = true;
    race.nights = 1;
    lines[0].distanceKm = 20.1125;
    page = ResultPages(race, lines, texts, 1, 1, "", '.')[0];
    EXPECT_NE(Find(page, "20:00 / 06:00"), nullptr);
    EXPECT_NE(Find(page, "0012 0880"), nullptr); // 12 miles 880 yards
    EXPECT_NE(Find(page, "*,***.***"), nullptr);
    EXPECT_NE(Find(page, "in mi./yd."), nullptr);
    EXPECT_NE(Find(page, "   " + SpeedFigure(1666.667, kRaceInMiles, '.')), nullptr);
    EXPECT_EQ(SpeedFigure(1609.0, kRaceInMiles, '.'), "1760.000");
}

TEST(ResultLayout, WindowLinesAlignTheSeparators) {
    ResultLine line{PadRight("Meier", 20), "DV 01234 23  1234567M", "BL  ", 0, "  5.03.07", 123.456, 456.789, false};
    EXPECT_EQ(ResultWindowLine(1, line, kRaceInKm, ','),
              "0001 Meier                DV 01234 23  1234567M   5.03.07       123,456   456,789");
    line.distanceKm = 20.1125;
    EXPECT_EQ(ResultWindowLine(12, line, kRaceInMiles, '.').substr(57), "     0012 0880" + PadLeft(SpeedFigure(456.789, kRaceInMiles, '.'), 10, ' '));
    line.dataError = true;
    EXPECT_EQ(ResultWindowLine(3, line, kRaceInKm, ',').substr(48), kDataErrorText);
    const auto heads = ResultWindowHeads({"Pos.", "Fancier", "Ring", "Colour", "Flight time", "Distance", "Speed", "Rem."},
                                         {"in km", "in m/min"});
    EXPECT_EQ(heads[0], "Pos. Fancier              Ring                  Flight time    Distance     Speed");
    EXPECT_EQ(heads[1], std::string(66, ' ') + "in km  in m/min");
}

TEST(ResultLayout, PageRangeChecksInOrder) {
    const struct {
        const char* first;
        const char* last;
        int message;
        int focus;
    } cases[] = {
        {"", "2", 1, 1}, {"2", "", 1, 1}, {"3", "2", 2, 1}, {"0", "2", 3, 1}, {"2", "4", 4, 2}, {"2", "3", 0, 1},
    };
    for (const auto& c : cases) {
        const PageRangeCheck check = CheckPageRange(c.first, c.last, 1, 3);
        EXPECT_EQ(check.message, c.message) << c.first << "-" << c.last;
        EXPECT_EQ(check.focus, c.focus) << c.first << "-" << c.last;
    }
    EXPECT_EQ(CheckPageRange("2", "3", 1, 3).first, 2u);
    EXPECT_EQ(PageRangeHint(1, 3), "(1  /  3)");
}

} // namespace
} // namespace plumet
