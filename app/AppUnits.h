#pragma once
// The application's registrations, made once by the program's entry before start-up:
// the server controller class and the main page class.
namespace orv {

void InitializeApplicationUnits();

}  // namespace orv
