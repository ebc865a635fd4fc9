#include "run/run_gate.h"

void RunGate::Started() {
  m_unwatched = false;
  m_claim.Start();
  m_running.store(1);
}

void RunGate::Unwatched(bool unpackerStarted) {
  if (unpackerStarted) {
    m_unwatched = true;
    return;
  }
  // No process to watch, end or kill: nobody claims the run, and it is not
  // in progress.
  m_unwatched = false;
  m_claim.Abandon();
  m_running.store(0);
}

void RunGate::Killed() {
  m_unwatched = false;
  m_running.store(0);
}

bool RunGate::InProgress(UnpackerProcess& unpacker) {
  if (m_unwatched && m_running.load() != 0 && unpacker.HasEnded()) {
    // Nobody watches this run to report its end: it is over now.
    m_unwatched = false;
    m_claim.Abandon();
    m_running.store(0);
  }
  return m_running.load() != 0;
}
