#include <gtest/gtest.h>

#include <algorithm>

#include "core/app/fixedwidth.h"
#include "core/race/resultlayout.h"

namespace plumet {
namespace {

std::vector<ResultLine> Pigeons(std::size_t count) {
    std::vector<ResultLine> lines(count, {"Meier", "DV 01234 23  1234567M", "BL", 3600, "  1.00.00", 100.0, 0.0, false});
    for (std::size_t i = 0; i < count; ++i) lines[i].speed = 1666.667 - static_cast<double>(i);
    return lines;
}

Race KmRace() {
    Race race;
    race.name = PadRight("Spring 1", 30);
    race.closedFromHour = 20;
    race.closedToHour = 6;
    race.meanDistance = "0250";
    return race;
}

struct Page {
    PrintPage page;
    const PrintText* Find(const std::string& text) const {
        const auto it = std::find_if(page.texts.begin(), page.texts.end(), [&](const PrintText& t) { return t.text == text; });
        return it == page.texts.end() ? nullptr : &*it;
    }
};

Page FirstPage(const Race& race, const std::vector<ResultLine>& lines, std::size_t first, std::size_t last, char separator) {
    TextCatalogue catalogue;
    EXPECT_TRUE(catalogue.Load(std::string(PLUMET_SOURCE_DIR) + "/data"));
    const auto pages = ResultPages(race, lines, LoadPrintTexts(catalogue), first, last, "01.05.2024", separator);
    EXPECT_EQ(pages.size(), last - first + 1);
    return {pages.at(0)};
}

TEST(ResultLayout, PagesHold29RowsAndPrintTheChosenRange) {
    const struct { std::size_t pigeons, first, last; const char *firstRow, *lastRow, *counter; } cases[] = {
        {29, 1, 1, "0001", "0029", "Page   1 of   1"},
        {30, 2, 2, "0030", "0030", "Page   2 of   2"},
        {70, 2, 2, "0030", "0058", "Page   2 of   3"},
    };
    for (const auto& c : cases) {
        const Page page = FirstPage(KmRace(), Pigeons(c.pigeons), c.first, c.last, ',');
        const std::size_t rows = static_cast<std::size_t>(std::count_if(
            page.page.texts.begin(), page.page.texts.end(), [](const PrintText& t) { return t.x == 500 && t.y >= 2100 && t.y < 6800; }));
        EXPECT_EQ(rows, std::stoul(c.lastRow) - std::stoul(c.firstRow) + 1);
        for (const char* text : {c.firstRow, c.lastRow, c.counter}) EXPECT_NE(page.Find(text), nullptr) << text;
    }
    EXPECT_EQ(PageCount(0), 1u); // an empty race still prints its head
}

TEST(ResultLayout, HeadAndFiguresInKilometresAndMiles) {
    Race race = KmRace();
    std::vector<ResultLine> lines = Pigeons(2);
    lines[1].speed = 5000.0;
    Page page = FirstPage(race, lines, 1, 1, ',');
    for (const char* text : {"none", "250 km", "in km", "in m/min", "*.***,***", "    100,000"})
        EXPECT_NE(page.Find(text), nullptr) << text;
    const PrintText* speed = page.Find("   1666,667");
    ASSERT_NE(speed, nullptr);
    EXPECT_EQ(std::pair(speed->x, speed->align), std::pair(4650, PrintAlign::End));

    race.distanceUnit = kRaceInMiles;
    race.overNight = true;
    lines[0].distanceKm = 20.1125; // 12 miles 880 yards
    page = FirstPage(race, lines, 1, 1, '.');
    for (const char* text : {"20:00 / 06:00", "0012 0880", "*,***.***", "in mi./yd.", "   1823.079"})
        EXPECT_NE(page.Find(text), nullptr) << text;
}

TEST(ResultLayout, WindowLinesAlignTheSeparators) {
    ResultLine line{PadRight("Meier", 20), "DV 01234 23  1234567M", "BL  ", 0, "  5.03.07", 123.456, 456.789, false};
    EXPECT_EQ(ResultWindowLine(1, line, kRaceInKm, ','),
              "0001 Meier                DV 01234 23  1234567M   5.03.07       123,456   456,789");
    line.distanceKm = 20.1125;
    EXPECT_EQ(ResultWindowLine(12, line, kRaceInMiles, '.').substr(57), "     0012 0880   499.657");
    line.dataError = true;
    EXPECT_EQ(ResultWindowLine(3, line, kRaceInKm, ',').substr(48), kDataErrorText);
    const auto heads = ResultWindowHeads({"Pos.", "Fancier", "Ring", "Colour", "Flight time", "Distance", "Speed", "Rem."},
                                         {"in km", "in m/min"});
    EXPECT_EQ(heads[0], "Pos. Fancier              Ring                  Flight time    Distance     Speed");
    EXPECT_EQ(heads[1], std::string(66, ' ') + "in km  in m/min");
}

TEST(ResultLayout, PageRangeChecksInOrder) {
    const struct { const char *first, *last; int message, focus; } cases[] = {{"", "2", 1, 1}, {"3", "2", 2, 1}, {"0", "2", 3, 1}, {"2", "4", 4, 2}, {"2", "3", 0, 1}};
    for (const auto& c : cases) {
        const PageRangeCheck check = CheckPageRange(c.first, c.last, 1, 3);
        EXPECT_EQ(std::pair(check.message, check.focus), std::pair(c.message, c.focus)) << c.first << "-" << c.last;
    }
}

} // namespace
} // namespace plumet
