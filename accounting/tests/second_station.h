/*
** Running the second station, the tests' other program on the same tables.
*/
#ifndef ZARNE_ACCOUNTING_TESTS_SECOND_STATION_H
#define ZARNE_ACCOUNTING_TESTS_SECOND_STATION_H

#include "platform/testing/other_programs.h"

#include <string>
#include <vector>

/* Runs one command to its end; its answer ("done" or "failed: ..."). */
std::string RunSecondStation(const std::vector<std::string>& arguments);

/* The second station holding a record's lock ("hold" appended) until the object goes. */
class SecondStationLock {
 public:
  explicit SecondStationLock(const std::vector<std::string>& arguments);
  /* "held" once the lock is taken. */
  const std::string& Answer() const { return station_.Answer(); }

 private:
  HeldProgram station_;
};

/* A seq as the station reads it back exactly. */
std::string SeqArgument(double seq);

#endif
