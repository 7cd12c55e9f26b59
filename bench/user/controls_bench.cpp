/*
** Times the standard controls offscreen where the system fills them in bulk: a list box
** filled with one file number per record (unsorted and sorted), searched by prefix, and
** emptied; a combo box filled; and an edit taking typed characters. Each is printed beside
** the same work done on a bare Qt widget of the kind the control is made of, in the same run
** (the sorted list placing each row by binary search), and the ratio.
*/
#include "platform/testing/gui_test.h"
#include "platform/user/winuser.h"

#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

template <typename Work>
double MicrosecondsEach(int count, Work work) {
  auto start = std::chrono::steady_clock::now();
  for (int i = 0; i < count; ++i) work(i);
  return std::chrono::duration<double, std::micro>(std::chrono::steady_clock::now() - start)
             .count() /
         count;
}

template <typename Work, typename Baseline>
void Measure(const char* name, int count, Work work, Baseline baseline) {
  double us = MicrosecondsEach(count, work);
  double base = MicrosecondsEach(count, baseline);
  std::printf("%-38s %6d  %10.3f us each   bare Qt widget %10.3f us   ratio %6.2f\n", name, count,
              us, base, us / base);
}

/* A row placed in a bare list by binary search over the texts, as a sorted list box must. */
void InsertSorted(QListWidget& list, const QString& text) {
  int low = 0, high = list.count();
  while (low < high) {
    int middle = (low + high) / 2;
    if (QString::compare(list.item(middle)->text(), text, Qt::CaseInsensitive) <= 0)
      low = middle + 1;
    else high = middle;
  }
  list.insertItem(low, text);
}

std::string FileNumber(int i) {
  char text[16];
  std::snprintf(text, sizeof text, "2026-%05d", (i * 7919) % 100000);
  return text;
}

HWND Control(HWND parent, LPCSTR cls, DWORD style, int id) {
  return CreateWindow(cls, "", WS_CHILD | WS_VISIBLE | style, 10, 10, 200, 300, parent,
                      reinterpret_cast<HMENU>(static_cast<intptr_t>(id)), nullptr, nullptr);
}

}  // namespace

int main() {
  if (!std::getenv("QT_QPA_PLATFORM")) setenv("QT_QPA_PLATFORM", "offscreen", 1);
  EnsureTestApplication();
  HWND top = CreateWindow("edit", "", WS_POPUP | WS_VISIBLE, 0, 0, 640, 480, nullptr, nullptr,
                          nullptr, nullptr);
  const int kRecords = 5000;
  HWND plain = Control(top, "listbox", WS_VSCROLL | LBS_NOTIFY, 1);
  QListWidget barePlain, bareSorted;
  QComboBox bareCombo;
  QLineEdit bareEdit;
  Measure(
      "LB_ADDSTRING unsorted (5000 rows)", kRecords,
      [&](int i) {
        SendMessage(plain, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(FileNumber(i).c_str()));
      },
      [&](int i) { barePlain.addItem(QString::fromStdString(FileNumber(i))); });
  HWND sorted = Control(top, "listbox", WS_VSCROLL | LBS_SORT, 2);
  Measure(
      "LB_ADDSTRING sorted (5000 rows)", kRecords,
      [&](int i) {
        SendMessage(sorted, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(FileNumber(i).c_str()));
      },
      [&](int i) { InsertSorted(bareSorted, QString::fromStdString(FileNumber(i))); });
  Measure(
      "LB_FINDSTRING prefix in 5000 rows", 2000,
      [&](int i) {
        SendMessage(sorted, LB_FINDSTRING, static_cast<WPARAM>(-1),
                    reinterpret_cast<LPARAM>(FileNumber(i * 3).c_str()));
      },
      [&](int i) {
        bareSorted.findItems(QString::fromStdString(FileNumber(i * 3)), Qt::MatchStartsWith);
      });
  Measure(
      "LB_SETCURSEL in 5000 rows", 2000,
      [&](int i) { SendMessage(sorted, LB_SETCURSEL, (i * 37) % kRecords, 0); },
      [&](int i) { bareSorted.setCurrentRow((i * 37) % kRecords); });
  Measure(
      "LB_DELETESTRING from the top", 2000, [&](int) { SendMessage(plain, LB_DELETESTRING, 0, 0); },
      [&](int) { delete barePlain.takeItem(0); });
  Measure(
      "LB_RESETCONTENT of 5000 rows", 1, [&](int) { SendMessage(sorted, LB_RESETCONTENT, 0, 0); },
      [&](int) { bareSorted.clear(); });
  HWND combo = Control(top, "combobox", CBS_DROPDOWNLIST, 3);
  Measure(
      "CB_ADDSTRING (1000 items)", 1000,
      [&](int i) {
        SendMessage(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(FileNumber(i).c_str()));
      },
      [&](int i) { bareCombo.addItem(QString::fromStdString(FileNumber(i))); });
  HWND edit = Control(top, "edit", ES_AUTOHSCROLL, 4);
  SendMessage(edit, EM_LIMITTEXT, 0, 0);
  Measure(
      "WM_CHAR into a single-line edit", 5000,
      [&](int i) {
        if (i % 40 == 0) SetWindowText(edit, "");  // field-sized texts
        SendMessage(edit, WM_CHAR, 'a' + i % 26, 0);
      },
      [&](int i) {
        if (i % 40 == 0) bareEdit.clear();
        bareEdit.insert(QString(QChar('a' + i % 26)));
      });
  DestroyWindow(top);
  return 0;
}
