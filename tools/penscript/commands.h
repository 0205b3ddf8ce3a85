// penscript's commands. Each takes the words after its name and returns the
// process's exit status: 0, or BadInput (2) after a message on standard error.
#pragma once

int RunCheck(int argc, char** argv);
int RunTrace(int argc, char** argv);
int RunRender(int argc, char** argv);
int RunAnimate(int argc, char** argv);
int RunCompose(int argc, char** argv);
