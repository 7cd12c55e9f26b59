/*
** The party-name walk: stepping the party table's key order alongside the caller's files,
** with a search for any file the walk cannot answer.
*/
#include "accounting/party_name_walk.h"

#include "accounting/range_report.h"
#include "platform/kernel/string_calls.h"
#include "tableaccess/px_record.h"
#include "tableaccess/px_table.h"

namespace {

constexpr int kFileNumberField = 1;
constexpr int kPartyNameField = 2;
// Past this many records between two files asked, one search costs less than the steps.
constexpr int kStepsBeforeSearch = 16;

}  // namespace

TPartyNameWalk::TPartyNameWalk(TPXTable* table) : table_(table) {
  if (table_ != nullptr && table_->IsOpen()) walk_ = std::make_unique<TPXRecord>(table_, true);
}

TPartyNameWalk::~TPartyNameWalk() = default;

void TPartyNameWalk::SeekFrom(const char* fileNumber) {
  positioned_ = true;
  walk_->Clear();
  atEnd_ = !(walk_->SetString(kFileNumberField, fileNumber) && walk_->Seek(1, ENGINE_KEY_GEQ) &&
             walk_->Read(0) && walk_->GetString(kFileNumberField, current_, sizeof current_));
}

bool TPartyNameWalk::StepOn() {
  atEnd_ = !(walk_->ReadNext(0) && walk_->GetString(kFileNumberField, current_, sizeof current_));
  return !atEnd_;
}

bool TPartyNameWalk::FoundBySearch(const char* fileNumber) {
  if (!search_) search_ = std::make_unique<TPXRecord>(table_, true);
  search_->Clear();
  return search_->SetString(kFileNumberField, fileNumber) && search_->Seek(0, ENGINE_KEY_EQ) &&
         search_->Read(0);
}

bool TPartyNameWalk::NameOf(const char* fileNumber, char* name, DWORD size) {
  name[0] = '\0';
  if (!walk_) return false;
  // A file before the last one asked (a copy printing from the start) begins the walk anew.
  if (!positioned_ || CompareFileNumbers(fileNumber, lastAsked_) < 0) {
    SeekFrom(fileNumber);
  } else if (!atEnd_ && CompareFileNumbers(current_, fileNumber) < 0) {
    int steps = 0;
    while (StepOn() && CompareFileNumbers(current_, fileNumber) < 0 &&
           ++steps < kStepsBeforeSearch) {}
    if (!atEnd_ && CompareFileNumbers(current_, fileNumber) < 0) SeekFrom(fileNumber);
  }
  lstrcpynA(lastAsked_, fileNumber, sizeof lastAsked_);
  TPXRecord* found = nullptr;
  if (!atEnd_ && CompareFileNumbers(current_, fileNumber) == 0) found = walk_.get();
  // Not where the walk stands (the file has no record): a search settles it.
  else if (FoundBySearch(fileNumber)) found = search_.get();
  if (found == nullptr) return false;
  if (!found->GetString(kPartyNameField, name, size)) name[0] = '\0';
  return true;
}
