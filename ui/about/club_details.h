#pragma once

// The author and the diving club that the About window names. A club building
// its own copy of the calculator fills in its details here and nowhere else.
// The window's layout is fixed: the club's name may wrap onto a second line, as
// may the closing sentence that ends with the author's e-mail address; every
// other text must fit on one line, and the web address must end before the
// "Zapri" button. The emblem beside them is the picture resources/emblem.jpg,
// 80 × 105 pixels.

namespace marevo::club {

inline constexpr char kAuthor[] = "Ime Priimek";
inline constexpr char kName[] = "Potapljaški klub Primer, društvo za podvodne dejavnosti";
inline constexpr char kAddress[] = "Vzorčna ulica 1, 1000 Kraj";
inline constexpr char kWeb[] = "www.example.org";
inline constexpr char kEmail[] = "klub@example.org";
inline constexpr char kAuthorEmail[] = "avtor@example.org";
// What a screen reader says of the emblem (resources/emblem.jpg).
inline constexpr char kEmblem[] = "Znak potapljaškega kluba";

} // namespace marevo::club
