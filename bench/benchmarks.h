// The driver's benchmarks, one file each (bench_driver.cpp runs them in this
// order); each prints its rounds and reports its figures against their goals.
// They throw a BenchFailure when a round cannot be measured.
#pragma once

namespace bench {

void InstallOverhead();  // install_overhead_bench.cpp
void MonitorCost();      // monitor_cost_bench.cpp
void StartUp();          // startup_bench.cpp
void LargeLicence();     // large_licence_bench.cpp
void ManyFolders();      // many_folders_bench.cpp
void SilentInstall();    // silent_install_bench.cpp
void InstallScaling();   // install_scaling_bench.cpp
void AnswerTime();       // answer_time_bench.cpp
void BigPackage();       // big_package_bench.cpp

}  // namespace bench
