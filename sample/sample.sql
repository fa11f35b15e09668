-- Quillet's sample database: a small shop with customers, products, orders
-- and a table of legacy DOS text kept in code page 866.

CREATE TABLE customers (
    id         INTEGER PRIMARY KEY AUTOINCREMENT,
    name       VARCHAR(40) NOT NULL,
    city       VARCHAR(30),
    country    CHAR(2),
    vip        BOOLEAN,
    registered DATE,
    notes      TEXT
);

CREATE TABLE products (
    id        INTEGER PRIMARY KEY,
    title     NVARCHAR(60) NOT NULL,
    price     NUMERIC(10,2),
    weight_kg REAL,
    stock     SMALLINT,
    barcode   BIGINT,
    picture   BLOB,
    code      UNIQUEIDENTIFIER
);

CREATE TABLE orders (
    id          INTEGER PRIMARY KEY,
    customer_id INTEGER REFERENCES customers(id),
    ordered_at  DATETIME,
    deliver_by  TIME,
    total       NUMERIC(12,2),
    paid        BOOLEAN
);

CREATE TABLE order_lines (
    order_id   INTEGER REFERENCES orders(id),
    product_id INTEGER REFERENCES products(id),
    quantity   INTEGER NOT NULL,
    PRIMARY KEY (order_id, product_id)
);

CREATE TABLE dos_texts (
    id   INTEGER PRIMARY KEY,
    text VARCHAR(60)
);

INSERT INTO customers (name, city, country, vip, registered, notes) VALUES
    ('Ann Smith', 'London', 'GB', 1, '2021-04-12', 'Prefers e-mail'),
    ('O''Brien & Sons', 'Dublin', 'IE', 0, '2022-11-03', 'Said "call after 5"; twice'),
    ('Иван Петров', 'Москва', 'RU', 1, '2020-01-30', 'Постоянный клиент'),
    ('Müller GmbH', 'Köln', 'DE', NULL, NULL, NULL),
    ('Blank Name   ', NULL, NULL, 0, '1999-12-31', '');

INSERT INTO products VALUES
    (1, 'Tea, green', 4.50, 0.25, 120, 4006381333931, NULL, '{6F9619FF-8B86-D011-B42D-00C04FC964FF}'),
    (2, 'Самовар', 129.99, 4.8, 3, 9223372036854775807, X'89504E470D0A1A0A', NULL),
    (3, 'Cup "Classic"', 12.00, 0.3, 0, NULL, NULL, NULL),
    (4, 'Sugar', NULL, 1.0, NULL, 5000112637922, NULL, NULL);

INSERT INTO orders VALUES
    (1, 1, '2024-01-02 10:30:00', '18:00:00', 21.00, 1),
    (2, 3, '2024-02-14 00:00:00', NULL, 129.99, 0),
    (3, 2, '2024-03-05 14:07:09', '09:15:00', 36.00, NULL);

INSERT INTO order_lines VALUES (1, 1, 2), (1, 3, 1), (2, 2, 1), (3, 3, 3);

-- "Привет", "Мир" and "Запись №1" as DOS (CP866) bytes.
INSERT INTO dos_texts VALUES
    (1, CAST(X'8fe0a8a2a5e2' AS TEXT)),
    (2, CAST(X'8ca8e0' AS TEXT)),
    (3, CAST(X'87a0afa8e1ec20fc31' AS TEXT));

CREATE VIEW order_totals AS
    SELECT c.name AS customer, o.id AS order_id, o.total
    FROM orders o JOIN customers c ON c.id = o.customer_id;
