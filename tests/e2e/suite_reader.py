"""The card as a screen reader reads and plays it: from another process,
through the card's accessible object, in both editions."""

import re

from harness import (E2E, STANDARD_FIGURES, driver_ok, in_pause, keys, screen_when, standard_config, uncovered_cells,
                     wait_until)

STARS = {
    "es": [f"Fila {row}, columna {column}" for row in (1, 2, 3) for column in (1, 2, 3)],
    "en": [f"Row {row}, column {column}" for row in (1, 2, 3) for column in (1, 2, 3)],
}
COVERED = {"es": "cubierta", "en": "covered"}
CURRENCY = {"es": "€", "en": "$"}
WON = {"es": "Cartón ganador", "en": "Winning card"}
GAME = {"es": "Cartón, partida {} de 3", "en": "Card, game {} of 3"}
UNAVAILABLE = 0x1
COMMENT = "Enhorabuena, premio!"


def read(title):
    """The card (its child count, name, description and focused child) and its stars, each
    with its name, value, role, state, default action and the star a hit test at its middle finds."""
    card, stars = None, []
    for line in driver_ok("read", title):
        words = line.split("\t")
        if words[0] == "card":
            card = {"count": int(words[1]), "name": words[2], "description": words[3], "focus": int(words[4])}
        elif words[0] == "star":
            stars.append({"name": words[2], "value": words[3], "state": int(words[5], 16), "action": words[6],
                          "hit": int(words[7])})
    return card, stars


class Reader(E2E):
    def test_a_card_read_and_played_from_another_process(self):
        for edition in ("es", "en"):
            with self.subTest(edition=edition):
                game = self.game(edition, standard_config(games="3", comment=COMMENT))
                main = game.texts["main"]
                origin = game.play()
                card, stars = read(main)
                self.assertEqual((card["count"], card["focus"]), (9, 1))
                self.assertEqual([s["name"] for s in stars], STARS[edition])  # in reading order
                self.assertEqual({s["value"] for s in stars}, {COVERED[edition]})
                self.assertEqual([s["hit"] for s in stars], list(range(1, 10)))

                keys(main, "Right", "Down", "Down")
                self.assertEqual(read(main)[0]["focus"], 8)

                # The default action uncovers exactly that star, which then reads its figure.
                driver_ok("uncover", main, 4)
                shown = lambda: read(main)[1][3]["value"] != COVERED[edition]
                self.assertTrue(wait_until(shown))
                value = read(main)[1][3]["value"]
                self.assertRegex(value, rf"^\d+ {re.escape(CURRENCY[edition])}$")
                self.assertIn(value.split(" ")[0], STANDARD_FIGURES)
                screen = screen_when(lambda s: uncovered_cells(s, origin) == {(1, 2)})
                self.assertEqual(uncovered_cells(screen, origin), {(1, 2)})

                # The losing card is read during the pause, which holds no reader: every star shows its
                # figure and takes no press, and the focus is on the card itself.
                card, stars = in_pause(game, origin, lambda: read(main))
                self.assertTrue(all(s["value"] != COVERED[edition] and s["state"] & UNAVAILABLE for s in stars))
                self.assertEqual((card["count"], card["focus"]), (9, 0))
                shown = int(re.search(r"(\d+) \D+ 3$", card["name"]).group(1))
                self.assertEqual(card["name"], GAME[edition].format(shown))

                # The next game's card, and so on to the winning one.
                for number in range(shown + 1, 4):
                    self.assertTrue(wait_until(lambda: read(main)[0]["name"] == GAME[edition].format(number)))
                    for star in range(1, 10):
                        driver_ok("uncover", main, star)
                    if number < 3:
                        self.assertTrue(wait_until(lambda: read(main)[0]["name"] != GAME[edition].format(number)))
                self.assertTrue(wait_until(lambda: read(main)[0]["name"] == WON[edition]))
                card, stars = read(main)
                self.assertEqual(card["description"], COMMENT)
                self.assertTrue(all(s["state"] & UNAVAILABLE and s["action"] == "-" for s in stars))
                self.assertTrue(all(s["value"].split(" ")[0] in STANDARD_FIGURES for s in stars))
