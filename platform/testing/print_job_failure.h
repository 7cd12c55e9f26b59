/*
** A print job that fails on purpose, for tests of what a program does when printing stops
** midway (a check run, a report): the nth document started on the PDF device while the
** object lives fails at its StartDoc, at the StartPage of a given page, or at its EndDoc, as
** a printer that breaks down would; the failed document leaves no file.
*/
#ifndef ZARNE_PLATFORM_TESTING_PRINT_JOB_FAILURE_H
#define ZARNE_PLATFORM_TESTING_PRINT_JOB_FAILURE_H

class FailingPrintJob {
 public:
  enum Point { AtStartDoc, AtPage, AtEndDoc };
  /* nth 1 is the next document started; page counts from 1 (used with AtPage). */
  FailingPrintJob(int nth, Point at, int page = 1);
  /* A failure not yet reached is dropped. */
  ~FailingPrintJob();
  FailingPrintJob(const FailingPrintJob&) = delete;
  FailingPrintJob& operator=(const FailingPrintJob&) = delete;
};

#endif
