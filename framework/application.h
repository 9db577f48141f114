// The program's one application object: constructed before WinMain, which calls Run.
#pragma once

class Application {
public:
    virtual ~Application() = default;
    // Calls InitInstance once, catching anything it throws, and returns the process exit code (always 0: the
    // program's windows run modally inside InitInstance, so there is no message loop left to run afterwards).
    int Run();

protected:
    // The program's work. Returns whether the application wants to go on running a message loop of its own;
    // this framework has none, so false is the only useful answer.
    virtual bool InitInstance() = 0;
};
