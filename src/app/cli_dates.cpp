// kestrova-cli jd and date: conversions between calendar dates and Julian dates.
#include <iostream>

#include "app/cli.h"
#include "numerics/date_text.h"
#include "numerics/errors.h"
#include "numerics/julian_dates.h"

namespace kestrova::cli {

int CmdJd(const Args& options, std::istream&, std::ostream& out, std::ostream& err) {
  if (WantsHelp(options)) {
    out << "usage: kestrova-cli jd DATE [TIME]\n\n"
           "Prints the Julian date of DATE at TIME (UT, default 0:00) with six decimals.\n"
           "DATE as typed in the date field: 1.1.2000, 12/25/2000, 1 jan 2000, 1.1.5 BC.\n"
           "TIME as typed in the time field: 12:00, 1:05 pm, 12.30.15.\n"
           "A text with blanks is one argument: quote it.\n";
    return kOk;
  }
  const std::optional<Args> plain = PlainArguments("kestrova-cli jd", options, err);
  if (!plain || plain->empty() || plain->size() > 2) {
    err << "usage: kestrova-cli jd DATE [TIME]\n";
    return kBadInput;
  }
  const Args& args = *plain;
  TDateRec date{1, 1, 2000, 0, 0, 0, 0};
  try {
    // The time first, so that the range check of the date sees the whole moment.
    if (args.size() == 2) ParseTime(args[1], date);
    ParseDate(args[0], date);
  } catch (const EKestrovaError& e) {
    err << e.what() << "\n";
    return kBadInput;
  }
  out << Format("%.6Lf", DateToJD(date)) << "\n";
  return kOk;
}

int CmdDate(const Args& options, std::istream&, std::ostream& out, std::ostream& err) {
  if (WantsHelp(options)) {
    out << "usage: kestrova-cli date JD\n\n"
           "Prints the UT calendar date of the Julian date JD in three forms: the date field's\n"
           "text, the time of day, and the long date (5.1.046 BC).\n";
    return kOk;
  }
  const std::optional<Args> plain = PlainArguments("kestrova-cli date", options, err);
  if (!plain || plain->size() != 1) {
    err << "usage: kestrova-cli date JD\n";
    return kBadInput;
  }
  const Args& args = *plain;
  Extended jd = 0;
  try {
    jd = ParseJulianDate(args[0]);
  } catch (const EKestrovaError& e) {
    err << e.what() << "\n";
    return kBadInput;
  }
  const TDateRec date = JDToDate(0, jd);
  out << DateText(date) << " " << TimeText(date, 0) << " " << LongDateText(date) << "\n";
  return kOk;
}

}  // namespace kestrova::cli
