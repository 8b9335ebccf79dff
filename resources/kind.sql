-- kind.db: the site categories, numbered as the category tabs of the main window.
CREATE TABLE "kind" (
    "kind_serial" INTEGER PRIMARY KEY,
    "text" VARCHAR(20)
);

INSERT INTO "kind" ("kind_serial", "text") VALUES
    (1, '工商產業'),
    (2, '生活資訊'),
    (3, '休閒育樂'),
    (4, '社會文化'),
    (5, '科學'),
    (6, '國家'),
    (7, '教育事業'),
    (8, '醫療保健'),
    (9, '藝文'),
    (10, '我的最愛');
