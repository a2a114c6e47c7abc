// Planning the import of other programs' address books: a phone's vCard
// export and an Outlook CSV of a few thousand contacts, Replace and Add,
// beside a plain memcpy of the 111,672-byte transfer image.
#include <benchmark/benchmark.h>

#include <memory>
#include <string>

#include "bench/memcpy_baseline.h"
#include "setup/addressbook/contact_import.h"
#include "setup/data/document.h"

namespace odc {
namespace {

// Cards as phones write them: quoted-printable names with letters to
// transliterate, '+' numbers, a photo line, and a card in ten without a fax
// or e-mail.
std::string PhoneVcard(int cards) {
  std::string text;
  for (int i = 0; i < cards; ++i) {
    text += "BEGIN:VCARD\r\nVERSION:2.1\r\n";
    text += "N;CHARSET=UTF-8;ENCODING=QUOTED-PRINTABLE:=C5=81=C4=85cka " + std::to_string(i) +
            ";Zofia\r\n";
    text += "FN;CHARSET=UTF-8;ENCODING=QUOTED-PRINTABLE:Zofia =C5=81=C4=85cka-Wi=C5=9Bniewska " +
            std::to_string(i) + "\r\n";
    text += "PHOTO;ENCODING=BASE64;JPEG:/9j/4AAQSkZJRgABAQAAAQABAAD/2wBDAAIBAQEBAQIBAQE\r\n\r\n";
    if (i % 10 == 9) {
      text += "TEL;CELL:0170 " + std::to_string(i) + "\r\n";
    } else if (i % 2) {
      text += "TEL;WORK;FAX:+48 22 555 " + std::to_string(10000 + i) + "\r\n";
    } else {
      text += "EMAIL;PREF;INTERNET:zofia." + std::to_string(i) + "@example.pl\r\n";
    }
    text += "END:VCARD\r\n";
  }
  return text;
}

std::string OutlookCsv(int rows) {
  std::string text =
      "Title,First Name,Middle Name,Last Name,Suffix,Company,Department,Job Title,Business "
      "Fax,Business Phone,Home Fax,Mobile Phone,E-mail Address,E-mail Type,Notes\r\n";
  for (int i = 0; i < rows; ++i) {
    text += ",Klaus,,Berger " + std::to_string(i) + ",,Berger & S\xC3\xB6hne,,,";
    text += i % 2 ? "+49 89 1234-" + std::to_string(i) : "";
    text += ",+49 89 1,,,";
    text += i % 2 ? "" : "k" + std::to_string(i) + "@example.de";
    text += ",SMTP,\"a note, with a comma\"\r\n";
  }
  return text;
}

const DataSet& BaseSet() {
  static const DataSet* set = [] {
    auto* s = new DataSet();
    Document document;
    NewDataSet(*s, document);
    return s;
  }();
  return *set;
}

void Plan(benchmark::State& state, const std::string& text, ImportMode mode) {
  const DataSet& set = BaseSet();
  for (auto _ : state) {
    ContactImportPlan plan;
    PlanContactImport(reinterpret_cast<const uint8_t*>(text.data()), text.size(), set, mode,
                      ImportOptions{}, plan);
    benchmark::DoNotOptimize(plan.entries.data());
  }
  state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(text.size()));
}

void BM_PlanPhoneVcard(benchmark::State& state) {
  Plan(state, PhoneVcard(static_cast<int>(state.range(0))), ImportMode::Replace);
}
BENCHMARK(BM_PlanPhoneVcard)->Arg(240)->Arg(5000)->Unit(benchmark::kMillisecond);

void BM_PlanOutlookCsvAdd(benchmark::State& state) {
  Plan(state, OutlookCsv(static_cast<int>(state.range(0))), ImportMode::Add);
}
BENCHMARK(BM_PlanOutlookCsvAdd)->Arg(240)->Arg(5000)->Unit(benchmark::kMillisecond);

void BM_PlanAndApply(benchmark::State& state) {
  const std::string text = PhoneVcard(240);
  auto set = std::make_unique<DataSet>(BaseSet());
  for (auto _ : state) {
    ContactImportPlan plan;
    PlanContactImport(reinterpret_cast<const uint8_t*>(text.data()), text.size(), *set,
                      ImportMode::Replace, ImportOptions{}, plan);
    ApplyContactImportPlan(*set, plan);
  }
}
BENCHMARK(BM_PlanAndApply)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace odc

BENCHMARK_MAIN();
