#pragma once

// The road from process entry to the event loop and back. main() runs
// RuntimeInit, RegisterClasses, Main, ReleaseCaches and RuntimeExit, in this
// order, and exits with RuntimeExit's result.

// Registers the framework's classes, then the game's eleven.
void RegisterClasses();

// The start-up routine inside the framework's initialisation, then the event
// loop until the application quits. An exception that leaves either is
// reported (UnhandledException) and Main returns; a start-up that raised
// makes the exit status 1.
void Main();

// In this order: external classes, plug-in entry points, the file type, the
// application object, its menu handlers, the main window.
void Startup();
void InitFileTypes();
// Appl, given the shared menu bar and registered as the application object.
void NewAppInstance();
// "AppleAbout", "HelpApp" and "GameMenuSoundVol" on the application.
void ApplicationAddMenuHandlers();
// The main window; the framework keeps it.
void MakeDefaultView();

// After the event loop: the sounds, the cursors, the framework's windows and
// class records, the shared menu bar and the settings file's type, in this
// order. The pictures stay.
void ReleaseCaches();
