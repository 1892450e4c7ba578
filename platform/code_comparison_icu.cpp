#include "platform/code_comparison.h"

#include <unicode/ucol.h>
#include <unicode/uchar.h>

#include <string>
#include <vector>

#include "platform/icu_locale.h"
#include "platform/windows_1252.h"

namespace norvalde::platform {
namespace {

// Tertiary strength: after case folding the texts, it tells apart only what Windows tells
// apart beside case (accents, and the superscript and compatibility forms such as ª, ², ™
// and …), where secondary strength would drop the latter.
class Collator {
 public:
  Collator() {
    UErrorCode status = U_ZERO_ERROR;
    // The C/POSIX locale gets the root collation, because ICU's POSIX tailoring orders upper
    // case apart.
    collator_ = ucol_open(IcuLocaleFromEnvironment("LC_COLLATE").c_str(), &status);
    if (U_FAILURE(status)) {
      status = U_ZERO_ERROR;
      collator_ = ucol_open("", &status);
    }
    if (U_FAILURE(status)) collator_ = nullptr;
    if (collator_) ucol_setStrength(collator_, UCOL_TERTIARY);
  }
  ~Collator() {
    if (collator_) ucol_close(collator_);
  }
  Collator(const Collator&) = delete;
  Collator& operator=(const Collator&) = delete;

  int Compare(const std::u16string& x, const std::u16string& y) const {
    if (!collator_) return x.compare(y);
    switch (ucol_strcoll(collator_, x.data(), static_cast<int32_t>(x.size()), y.data(),
                         static_cast<int32_t>(y.size()))) {
      case UCOL_LESS: return -1;
      case UCOL_GREATER: return 1;
      default: return 0;
    }
  }

 private:
  UCollator* collator_ = nullptr;
};

// The marks Windows' word sort sets aside, in the order it gives them when they decide.
int MarkRank(char16_t c) {
  switch (c) {
    case u'\'': return 1;
    case u'-': return 2;
    case u'\u2013': return 3;  // en dash
    case u'\u2014': return 4;  // em dash
    default: return 0;
  }
}

struct Mark {
  size_t position;  // in the text as given
  int rank;
};

// A code as it is compared: the text without its marks, case folded, ligatures spelt out;
// and the marks apart.
struct ComparedForm {
  std::u16string text;
  std::vector<Mark> marks;
};

// Appends one character with its case folded, and the ligatures Windows takes for their
// letters spelt out. Every Windows-1252 character folds to one character but ß, which folds
// to "ss" as Windows compares it; folding one character at a time spares a buffer per code.
void AppendFolded(char16_t c, std::u16string& text) {
  if (c < 0x80) {
    text += c >= u'A' && c <= u'Z' ? static_cast<char16_t>(c - u'A' + u'a') : c;
    return;
  }
  switch (c) {
    case u'\u0152': case u'\u0153': text += u"oe"; return;  // Œ œ
    case u'\u00C6': case u'\u00E6': text += u"ae"; return;  // Æ æ
    case u'\u00DE': case u'\u00FE': text += u"th"; return;  // Þ þ
    case u'\u00DF': text += u"ss"; return;                   // ß
    default: text += static_cast<char16_t>(u_foldCase(c, U_FOLD_CASE_DEFAULT));
  }
}

ComparedForm FormOf(std::string_view code) {
  ComparedForm form;
  form.text.reserve(code.size());
  for (size_t i = 0; i < code.size(); ++i) {
    const char16_t c = Windows1252CodePoint(static_cast<unsigned char>(code[i]));
    if (const int rank = MarkRank(c)) {
      form.marks.push_back({i, rank});
    } else {
      AppendFolded(c, form.text);
    }
  }
  return form;
}

// Marks decide only between texts otherwise equal: mark by mark, an earlier one is greater,
// then the higher rank; a text with further marks is greater than one without.
int CompareMarks(const std::vector<Mark>& x, const std::vector<Mark>& y) {
  for (size_t i = 0; i < x.size() && i < y.size(); ++i) {
    if (x[i].position != y[i].position) return x[i].position < y[i].position ? 1 : -1;
    if (x[i].rank != y[i].rank) return x[i].rank < y[i].rank ? -1 : 1;
  }
  return x.size() == y.size() ? 0 : (x.size() < y.size() ? -1 : 1);
}

}  // namespace

int CompareCodesByLocale(std::string_view a, std::string_view b) {
  // Opened on the first comparison (most runs never compare codes), then kept for the process.
  static const Collator collator;
  const ComparedForm x = FormOf(a);
  const ComparedForm y = FormOf(b);
  if (const int order = collator.Compare(x.text, y.text)) return order;
  return CompareMarks(x.marks, y.marks);
}

}  // namespace norvalde::platform
