// The command line in the user's language: its catalogue is read through a
// small module that links Qt Core alone, loaded only when the locale asks for
// a language Tarvo has, so that English and --json load no Qt library.
#pragma once

void SpeakUserLanguage();
