#include "document_catalog.h"

#include "windows1251.h"

#include <stdexcept>
#include <string>

namespace {
constexpr auto OpenXml = TDocumentFormat::dfOpenXml;
constexpr auto Word97 = TDocumentFormat::dfWord97;
} // namespace

// Rows by tab, then by the buttons' tab order. Resource numbers follow the on-screen reading
// order (columns top to bottom), so they are stated here and never derived.
const std::array<TDocumentEntry, 21> DocumentCatalog = {{
    // clang-format off
    {"Button1",  u8"Указ № 229"_w1251,            "TabSheet1", "DOC1",  u8"Указ № 229.docx"_w1251,            OpenXml},
    {"Button5",  u8"Постановление № 30"_w1251,    "TabSheet1", "DOC2",  u8"Постановление № 30.docx"_w1251,    OpenXml},
    {"Button6",  u8"Постановление № 1128"_w1251,  "TabSheet1", "DOC3",  u8"Постановление № 1128.docx"_w1251,  OpenXml},
    {"Button71", u8"Приказ № 4"_w1251,            "TabSheet1", "DOC4",  u8"Приказ № 4.docx"_w1251,            OpenXml},
    {"Button2",  u8"Приказ № 146"_w1251,          "TabSheet1", "DOC9",  u8"Приказ № 146.docx"_w1251,          OpenXml},
    {"Button4",  u8"Приказ № 28"_w1251,           "TabSheet1", "DOC5",  u8"Приказ № 28.docx"_w1251,           OpenXml},
    {"Button7",  u8"Приказ № 39"_w1251,           "TabSheet1", "DOC6",  u8"Приказ № 39.docx"_w1251,           OpenXml},
    {"Button38", u8"Приказ № 97"_w1251,           "TabSheet1", "DOC8",  u8"Приказ № 97.docx"_w1251,           OpenXml},
    {"Button39", u8"Приказ № 44"_w1251,           "TabSheet1", "DOC7",  u8"Приказ № 44.doc"_w1251,            Word97},
    {"Button10", u8"Приказ № 153"_w1251,          "TabSheet1", "DOC10", u8"Приказ № 153.docx"_w1251,          OpenXml},
    {"Button11", u8"Приказ № 241"_w1251,          "TabSheet1", "DOC11", u8"Приказ № 241.docx"_w1251,          OpenXml},
    {"Button12", u8"Приказ № 273"_w1251,          "TabSheet1", "DOC12", u8"Приказ № 273.doc"_w1251,           Word97},
    {"Button13", u8"Приказ № 562"_w1251,          "TabSheet1", "DOC13", u8"Приказ № 562.doc"_w1251,           Word97},
    {"Button15", u8"Приказ № 665"_w1251,          "TabSheet1", "DOC14", u8"Приказ № 665.docx"_w1251,          OpenXml},
    {"Button21", u8"Приказ № 953"_w1251,          "TabSheet2", "DOC15", u8"Приказ № 953.docx"_w1251,          OpenXml},
    {"Button8",  u8"Приказ № 1109"_w1251,         "TabSheet2", "DOC16", u8"Приказ № 1109.doc"_w1251,          Word97},
    {"Button9",  u8"Приказ № 1125"_w1251,         "TabSheet2", "DOC17", u8"Приказ № 1125.docx"_w1251,         OpenXml},
    {"Button14", u8"Предельные размеры снятия наличных денег"_w1251,
                                                  "TabSheet2", "DOC19",
                 u8"Предельные размеры снятия наличных денег с банковских счетов.docx"_w1251,          OpenXml},
    {"Button3",  u8"КГД-13-1-17 3579-И"_w1251,    "TabSheet2", "DOC18", u8"КГД-13-1-17 3579-И.docx"_w1251,    OpenXml},
    {"Button16", u8"Примеры форматов платежей ..."_w1251,
                                                  "TabSheet2", "DOC20",
                 u8"Примеры форматов платежей и расчёты единого платежа.docx"_w1251,                   OpenXml},
    {"Button17", u8"Таблица МРП, МЗП 2022-2023"_w1251, "TabSheet2", "DOC21", u8"Таблица МРП, МЗП 2022-2023.docx"_w1251, OpenXml},
    // clang-format on
}};

const TDocumentEntry& CatalogEntryForButton(std::string_view buttonName) {
    for (const TDocumentEntry& entry : DocumentCatalog)
        if (buttonName == entry.ButtonName)
            return entry;
    throw std::out_of_range("no catalogue row for " + std::string(buttonName));
}
