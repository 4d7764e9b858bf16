// Each bench prints its own figures; none asserts anything.
#pragma once

void BenchEngine();
void BenchRunCommand();
void BenchBatchFile();
void BenchRemoteLink();
void BenchTyping();
void BenchCompileCache();
